#include "platform/device/Process.h"

#include "platform/device/Device.h"

namespace device {

Process::Process(Device& device, std::string bundleIdentifier)
    : m_device(&device)
    , m_bundleIdentifier(std::move(bundleIdentifier))
    , m_runtime(std::make_unique<runtime::Runtime>())
    , m_mainQueue(std::make_unique<DispatchQueue>(device.scheduler(), mainQueueLabel))
{
}

Process::~Process()
{
    terminate();
    // Whatever was made after the end (a service asked for late) goes too,
    // before the run time its objects belong to.
    releaseKept();
    destroyServices();
    m_queues.clear();
    m_mainQueue.reset();
    m_runtime.reset();
}

DispatchQueue& Process::queue(const std::string& label)
{
    if (label == mainQueueLabel)
        return *m_mainQueue;
    auto& slot = m_queues[label];
    if (!slot) {
        slot = std::make_unique<DispatchQueue>(m_device->scheduler(), label);
        if (!m_running)
            slot->close();
    }
    return *slot;
}

void Process::keep(runtime::Ref<runtime::Object> object)
{
    if (m_running && object)
        m_kept.push_back(std::move(object));
}

void Process::terminate()
{
    if (!m_running)
        return;
    m_running = false;
    closeQueues();
    m_device->distributedCenter().removeProcess(*this);
    releaseKept();
    destroyServices();
}

void Process::closeQueues()
{
    // Destroying pending work may create queues, so the list is taken first;
    // queues created from now on start closed.
    std::vector<DispatchQueue*> queues { m_mainQueue.get() };
    for (auto& [label, queue] : m_queues)
        queues.push_back(queue.get());
    for (auto* queue : queues)
        queue->close();
}

void Process::releaseKept()
{
    // One at a time, newest first, so that a dealloc still finds the older objects.
    while (!m_kept.empty()) {
        auto object = std::move(m_kept.back());
        m_kept.pop_back();
    }
}

void Process::destroyServices()
{
    while (!m_services.empty()) {
        auto service = std::move(m_services.back());
        m_services.pop_back();
        m_serviceIndex.erase(service.type);
    }
}

} // namespace device
