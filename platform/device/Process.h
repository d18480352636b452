#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/device/Scheduler.h"
#include "platform/runtime/Runtime.h"

namespace device {

class Device;

// One running app on the device: its bundle identifier, its own object run
// time (so hooks made in one process never reach another), its main queue and
// the per-process services of the platform layers built on it.
class Process {
public:
    static constexpr const char* mainQueueLabel = "com.apple.main-thread";

    Process(Device&, std::string bundleIdentifier);
    // Terminates the process if it still runs; the run time goes last.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    const std::string& bundleIdentifier() const { return m_bundleIdentifier; }
    Device& device() const { return *m_device; }
    runtime::Runtime& runtime() { return *m_runtime; }
    DispatchQueue& mainQueue() { return *m_mainQueue; }

    // A serial queue of this process by label, created on first use. The
    // main queue's label names the main queue.
    DispatchQueue& queue(const std::string& label);

    // A per-process object of type T, created as T(Process&) on first use and
    // destroyed, newest first, when the process ends, before its run time.
    // Platform layers keep their process-wide state here (the default
    // notification center, the shared application, a plug-in's own state).
    template <typename T> T& service()
    {
        if (T* existing = existingService<T>())
            return *existing;
        auto owned = std::unique_ptr<void, void (*)(void*)>(new T(*this), [](void* p) { delete static_cast<T*>(p); });
        T& result = *static_cast<T*>(owned.get());
        m_serviceIndex.emplace(std::type_index(typeid(T)), m_services.size());
        m_services.push_back({ std::type_index(typeid(T)), std::move(owned) });
        return result;
    }
    template <typename T> T* existingService()
    {
        auto it = m_serviceIndex.find(std::type_index(typeid(T)));
        return it == m_serviceIndex.end() ? nullptr : static_cast<T*>(m_services[it->second].object.get());
    }

    // Objects the app itself keeps alive for its whole life (its application
    // object, its root controllers); released, newest first, when the process
    // ends. After the end nothing is kept.
    void keep(runtime::Ref<runtime::Object>);

    // The device paths of the plug-ins loaded into this process, in load order.
    const std::vector<std::string>& loadedPlugins() const { return m_loadedPlugins; }
    void addLoadedPlugin(std::string devicePath) { m_loadedPlugins.push_back(std::move(devicePath)); }

    // Ends the process: closes its queues, destroying their pending work at
    // once; drops its system-wide registrations; releases what it kept; then
    // destroys its services, newest first. The run time stays until the
    // Process object goes, so objects released here can still deallocate.
    void terminate();
    bool isRunning() const { return m_running; }

private:
    struct Service {
        std::type_index type;
        std::unique_ptr<void, void (*)(void*)> object;
    };

    void closeQueues();
    void releaseKept();
    void destroyServices();

    Device* m_device;
    std::string m_bundleIdentifier;
    std::unique_ptr<runtime::Runtime> m_runtime;
    std::unique_ptr<DispatchQueue> m_mainQueue;
    std::unordered_map<std::string, std::unique_ptr<DispatchQueue>> m_queues;
    std::vector<runtime::Ref<runtime::Object>> m_kept;
    std::unordered_map<std::type_index, size_t> m_serviceIndex;
    std::vector<Service> m_services;
    std::vector<std::string> m_loadedPlugins;
    bool m_running { true };
};

} // namespace device
