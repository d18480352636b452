#pragma once

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
    Process(Device&, std::string bundleIdentifier);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    const std::string& bundleIdentifier() const { return m_bundleIdentifier; }
    Device& device() const { return *m_device; }
    runtime::Runtime& runtime() { return *m_runtime; }
    DispatchQueue& mainQueue() { return *m_mainQueue; }

    // A serial queue of this process by label, created on first use.
    DispatchQueue& queue(const std::string& label);

    // A per-process object of type T, created as T(Process&) on first use and
    // destroyed, newest first, when the process ends, before its run time.
    // Platform layers keep their process-wide state here (the default
    // notification center, the shared application, a plug-in's own state).
    template<typename T>
    T& service()
    {
        auto key = std::type_index(typeid(T));
        auto it = m_serviceIndex.find(key);
        if (it != m_serviceIndex.end())
            return *static_cast<T*>(m_services[it->second].get());
        auto owned = std::shared_ptr<void>(new T(*this), [](void* p) { delete static_cast<T*>(p); });
        T& result = *static_cast<T*>(owned.get());
        m_serviceIndex.emplace(key, m_services.size());
        m_services.push_back(std::move(owned));
        return result;
    }
    template<typename T>
    T* existingService()
    {
        auto it = m_serviceIndex.find(std::type_index(typeid(T)));
        return it == m_serviceIndex.end() ? nullptr : static_cast<T*>(m_services[it->second].get());
    }

    // Objects the app itself keeps alive for its whole life (its application
    // object, its root controllers); released when the process ends.
    void keep(runtime::Ref<runtime::Object>);

    // Ends the process: drops its pending work, releases what it kept and its
    // services. The run time goes with the Process object.
    void terminate();
    bool isRunning() const { return m_running; }

private:
    Device* m_device;
    std::string m_bundleIdentifier;
    std::unique_ptr<runtime::Runtime> m_runtime;
    std::unique_ptr<DispatchQueue> m_mainQueue;
    std::unordered_map<std::string, std::unique_ptr<DispatchQueue>> m_queues;
    std::vector<runtime::Ref<runtime::Object>> m_kept;
    std::unordered_map<std::type_index, size_t> m_serviceIndex;
    std::vector<std::shared_ptr<void>> m_services;
    bool m_running { true };
};

} // namespace device
