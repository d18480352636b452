#include "platform/device/DistributedCenter.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Notification.h"
#include "platform/runtime/Send.h"

namespace device {

DistributedCenter::DistributedCenter(Device& device)
    : m_device(device)
{
}

void DistributedCenter::addObserver(
    Process& process, runtime::Object* observer, runtime::Selector selector, std::string name)
{
    if (!observer || selector.isNull() || !process.isRunning())
        return;
    dropDeadObservers();
    m_registrations.push_back({ m_nextId++, &process, observer, observer, selector, std::move(name) });
}

void DistributedCenter::removeObserver(Process& process, runtime::Object* observer, const std::string& name)
{
    std::erase_if(m_registrations, [&](const Registration& registration) {
        return registration.process == &process && registration.observerIdentity == observer
            && (name.empty() || registration.name == name);
    });
}

void DistributedCenter::removeProcess(Process& process)
{
    std::erase_if(m_registrations, [&](const Registration& registration) { return registration.process == &process; });
}

size_t DistributedCenter::observerCount() const
{
    return std::count_if(m_registrations.begin(), m_registrations.end(),
        [](const Registration& registration) { return registration.observer.get() != nullptr; });
}

void DistributedCenter::dropDeadObservers()
{
    std::erase_if(m_registrations, [](const Registration& registration) { return !registration.observer.get(); });
}

bool DistributedCenter::isRegistered(uint64_t id) const
{
    return std::any_of(m_registrations.begin(), m_registrations.end(),
        [id](const Registration& registration) { return registration.id == id; });
}

bool DistributedCenter::post(const std::string& name, const foundation::Value& userInfo, const Process* sender)
{
    const char* refusal = nullptr;
    if (name.empty())
        refusal = "a distributed notification needs a name";
    else if (!userInfo.isNil() && !userInfo.isDictionary())
        refusal = "user info must be a dictionary";
    else if (userInfo.isDictionary() && !userInfo.isPayload())
        refusal = "user info must hold property-list values and nulls only";
    if (refusal) {
        m_device.trace().emit("distributed.refused", { { "name", name }, { "reason", refusal } });
        return false;
    }

    Trace::Event event { { "name", name }, { "userInfo", toJson(userInfo) } };
    if (sender)
        event["sender"] = sender->bundleIdentifier();
    m_device.trace().emit("distributed.posted", std::move(event));

    dropDeadObservers();
    // Delivering only queues work, so the list cannot change meanwhile.
    for (auto& registration : m_registrations) {
        if (registration.name.empty() || registration.name == name)
            deliver(registration, name, userInfo);
    }
    return true;
}

void DistributedCenter::deliver(
    const Registration& registration, const std::string& name, const foundation::Value& userInfo)
{
    // The task lives on the observer's main queue, which is closed (and the
    // task destroyed) when that process ends, so the process outlives it.
    Process* process = registration.process;
    process->mainQueue().async([this, process, id = registration.id, observer = registration.observer,
                                   selector = registration.selector, name, userInfo] {
        auto target = observer.strong();
        // A registration removed after the posting no longer hears it.
        if (!target || !process->isRunning() || !isRegistered(id))
            return;
        // A selector that takes no argument is sent bare, as the platform does.
        if (selector.name().find(':') == std::string::npos) {
            runtime::send(target.get(), selector);
            return;
        }
        auto notification = foundation::makeNotification(process->runtime(), name, nullptr, userInfo);
        runtime::send(target.get(), selector, notification.get());
    });
}

} // namespace device
