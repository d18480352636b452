#pragma once

namespace device {

class Device;
class OnceFlag;
class DispatchQueue;
class DistributedCenter;
class PluginLoader;
class Process;
class Scheduler;
class Task;
class Trace;
struct AppDefinition;
struct Hardware;
struct PluginError;
struct PluginFilter;

} // namespace device
