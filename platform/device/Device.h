#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/DistributedCenter.h"
#include "platform/device/Process.h"
#include "platform/device/Scheduler.h"
#include "platform/device/Trace.h"
#include "platform/foundation/Result.h"

namespace device {

// The device's network is sealed: it reaches the loopback address of this
// machine and the hosts listed here, each of them answered by a server on the
// loopback address, and nothing else.
struct NetworkSettings {
    // "host:port", as a URL names them (port 443 for https, 80 for http), and
    // the port on 127.0.0.1 of the server that answers for that host.
    std::map<std::string, uint16_t, std::less<>> loopbackServers;
};

// The settings of the hardware and of the system that the software can read.
struct Hardware {
    std::string systemVersion { "14.4" };
    double screenWidth { 390 };
    double screenHeight { 844 };
    double screenScale { 3 };
    double bottomSafeArea { 34 };
    enum class Style { Light = 1, Dark = 2 } style { Style::Light };
    int64_t feedbackSupportLevel { 2 };
    std::string locale { "en_US" };
    std::string timeZone { "UTC" };
    // The wall clock when the device starts, in seconds since 1970 (UTC).
    double startTime { 1767276300 }; // 2026-01-01T14:05:00Z
    NetworkSettings network;
};

// How the system builds one app: the classes its frameworks define in its run
// time, and what it does when it starts (after its plug-ins are loaded).
struct AppDefinition {
    std::string bundleIdentifier;
    std::function<void(Process&)> defineClasses;
    std::function<void(Process&)> startUp;
};

// What a system command (a program started by path, such as NSTask starts)
// answers when it has run: its exit status and what it printed.
struct CommandResult {
    int status { 0 };
    std::string output;
};
using Command = std::function<CommandResult(Device&, const std::vector<std::string>& arguments)>;

// The simulated phone: its clock and scheduler, its file-system root, its
// running processes, the system-wide notification bus and the trace.
class Device {
public:
    // Lays out the root folder (idempotent for an existing root). Throws
    // std::filesystem::filesystem_error when the root cannot be laid out.
    Device(std::filesystem::path root, Hardware = {});
    // Ends every process, newest first, without tracing: the device is
    // switched off, not the apps quit.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    Scheduler& scheduler() { return m_scheduler; }
    const Scheduler& scheduler() const { return m_scheduler; }
    Trace& trace() { return m_trace; }
    const Trace& trace() const { return m_trace; }
    DistributedCenter& distributedCenter() { return *m_distributedCenter; }
    Hardware& hardware() { return m_hardware; }
    const Hardware& hardware() const { return m_hardware; }

    // The device's file-system root on this machine (absolute). Every absolute
    // device path lies beneath it; /var is a link to /private/var as on the phone.
    const std::filesystem::path& root() const { return m_root; }
    // The host path of an absolute device path, with "." and ".." resolved
    // by name; empty for a path that is not absolute or would leave the root.
    std::filesystem::path hostPath(std::string_view devicePath) const;

    // Defines (or redefines) how an app is built; takes effect at its next launch.
    void defineApp(AppDefinition);
    // Whether the device knows how to build the app (it has been defined).
    bool definesApp(std::string_view bundleIdentifier) const;
    // Starts the app unless it runs already: defines the app's classes (its
    // definition brings the frameworks it links, Foundation and
    // NSDistributedNotificationCenter among them), loads its plug-ins, runs
    // its start-up and traces `process.launched`. A bundle identifier without
    // a definition starts a bare process whose run time holds only the root
    // class; plug-ins whose filter names it still load.
    Process& launch(const std::string& bundleIdentifier);
    // Ends the app if it runs: its process ends (see Process::terminate), then
    // `process.exited` is traced. When called from a task, the Process object
    // and its run time are destroyed only after the task has returned, since
    // the task may still be using them.
    void terminate(const std::string& bundleIdentifier);
    Process* process(std::string_view bundleIdentifier) const;
    // The running processes, oldest first.
    std::vector<Process*> processes() const;

    // Installs the program that runs at `path` (replacing an earlier one).
    void defineCommand(std::string path, Command);
    // Starts the program at `path` with `arguments`: traces
    // `command.launched`, then runs it on a later turn of the device, as a
    // process of its own, and traces `command.exited` with its status and
    // output. Fails with the reason, tracing `command.failed` and running
    // nothing, when no program lives at `path`.
    foundation::Result<void> launchCommand(const std::string& path, std::vector<std::string> arguments);

private:
    void layOutRoot();

    std::filesystem::path m_root;
    Hardware m_hardware;
    Scheduler m_scheduler;
    Trace m_trace;
    std::unique_ptr<DistributedCenter> m_distributedCenter;
    std::map<std::string, AppDefinition, std::less<>> m_apps;
    std::map<std::string, Command, std::less<>> m_commands;
    std::vector<std::unique_ptr<Process>> m_processes;
    // Processes ended from inside a task, destroyed on a later turn.
    std::vector<std::unique_ptr<Process>> m_ended;
};

} // namespace device
