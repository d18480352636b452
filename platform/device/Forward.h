#pragma once

namespace device {

class Device;
class DispatchQueue;
class DistributedCenter;
class PluginLoader;
class Process;
class Scheduler;
class Trace;

} // namespace device
