#pragma once

namespace device {

class Device;
class DispatchQueueObject;
class OnceFlag;
class DispatchQueue;
class DistributedCenter;
class NSTask;
class PluginLoader;
class Process;
class Scheduler;
class SymbolTable;
class Task;
class Trace;
struct AppDefinition;
struct CommandResult;
struct Hardware;
struct PluginError;
struct PluginFilter;

} // namespace device
