#include "platform/device/Device.h"

#include <algorithm>

#include "platform/device/PluginLoader.h"

namespace device {

namespace fs = std::filesystem;

Device::Device(fs::path root, Hardware hardware)
    : m_root(root.empty() ? root : fs::absolute(root).lexically_normal())
    , m_hardware(std::move(hardware))
    , m_trace([this] { return m_scheduler.now(); })
    , m_distributedCenter(std::make_unique<DistributedCenter>(*this))
{
    if (!m_root.has_filename())
        m_root = m_root.parent_path(); // "/tmp/root/" names the folder "/tmp/root"
    layOutRoot();
}

Device::~Device()
{
    while (!m_processes.empty()) {
        auto process = std::move(m_processes.back());
        m_processes.pop_back();
        process->terminate();
    }
    m_ended.clear();
}

void Device::layOutRoot()
{
    // An empty path would make the current folder the device's root.
    if (m_root.empty() || m_root == m_root.root_path())
        throw fs::filesystem_error("a device needs a folder of its own as its root", m_root,
            std::make_error_code(std::errc::invalid_argument));
    fs::create_directories(m_root / "private" / "var" / "mobile" / "Library" / "Preferences");
    fs::create_directories(m_root / "Library" / "MobileSubstrate" / "DynamicLibraries");

    // The link is relative, so that it resolves inside the root wherever the root lies.
    auto link = m_root / "var";
    auto status = fs::symlink_status(link);
    if (!fs::exists(status))
        fs::create_directory_symlink("private/var", link);
    else if (!fs::is_symlink(status) || fs::read_symlink(link) != "private/var")
        throw fs::filesystem_error(
            "the device root's var must be a link to private/var", link, std::make_error_code(std::errc::file_exists));
}

fs::path Device::hostPath(std::string_view devicePath) const
{
    if (devicePath.empty() || devicePath.front() != '/' || devicePath.find('\0') != std::string_view::npos)
        return {};
    std::vector<std::string_view> components;
    size_t start = 0;
    while (start < devicePath.size()) {
        size_t end = std::min(devicePath.find('/', start), devicePath.size());
        auto component = devicePath.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (components.empty())
                return {};
            components.pop_back();
            continue;
        }
        components.push_back(component);
    }
    fs::path result = m_root;
    for (auto component : components)
        result /= component;
    return result;
}

void Device::defineApp(AppDefinition app)
{
    auto identifier = app.bundleIdentifier;
    m_apps.insert_or_assign(std::move(identifier), std::move(app));
}

bool Device::definesApp(std::string_view bundleIdentifier) const
{
    return m_apps.find(bundleIdentifier) != m_apps.end();
}

Process& Device::launch(const std::string& bundleIdentifier)
{
    if (auto* running = process(bundleIdentifier))
        return *running;
    m_processes.push_back(std::make_unique<Process>(*this, bundleIdentifier));
    Process& process = *m_processes.back();

    // A copy, so that an app redefined during its own start-up stays whole.
    AppDefinition app;
    if (auto it = m_apps.find(bundleIdentifier); it != m_apps.end())
        app = it->second;
    if (app.defineClasses)
        app.defineClasses(process);
    PluginLoader(*this).loadInto(process);
    if (app.startUp)
        app.startUp(process);
    m_trace.emit("process.launched", { { "bundleId", bundleIdentifier } });
    return process;
}

void Device::terminate(const std::string& bundleIdentifier)
{
    auto it = std::find_if(m_processes.begin(), m_processes.end(),
        [&](auto& process) { return process->bundleIdentifier() == bundleIdentifier; });
    if (it == m_processes.end())
        return;
    auto process = std::move(*it);
    m_processes.erase(it);
    process->terminate();
    m_trace.emit("process.exited", { { "bundleId", bundleIdentifier } });

    if (!m_scheduler.isRunningTask())
        return; // destroyed here
    m_ended.push_back(std::move(process));
    m_scheduler.schedule(m_scheduler.now(), nullptr, [this] {
        auto ended = std::move(m_ended);
        m_ended.clear();
    });
}

Process* Device::process(std::string_view bundleIdentifier) const
{
    for (auto& process : m_processes) {
        if (process->bundleIdentifier() == bundleIdentifier)
            return process.get();
    }
    return nullptr;
}

std::vector<Process*> Device::processes() const
{
    std::vector<Process*> result;
    for (auto& process : m_processes)
        result.push_back(process.get());
    return result;
}

void Device::defineCommand(std::string path, Command command)
{
    m_commands.insert_or_assign(std::move(path), std::move(command));
}

foundation::Result<void> Device::launchCommand(const std::string& path, std::vector<std::string> arguments)
{
    auto it = m_commands.find(path);
    if (it == m_commands.end() || !it->second) {
        std::string reason = "no program at the launch path " + path;
        m_trace.emit("command.failed", { { "path", path }, { "arguments", arguments }, { "reason", reason } });
        return foundation::Error { std::move(reason) };
    }
    m_trace.emit("command.launched", { { "path", path }, { "arguments", arguments } });
    m_scheduler.schedule(
        m_scheduler.now(), nullptr, [this, path, command = it->second, arguments = std::move(arguments)] {
            auto result = command(*this, arguments);
            m_trace.emit(
                "command.exited", { { "path", path }, { "status", result.status }, { "output", result.output } });
        });
    return {};
}

} // namespace device
