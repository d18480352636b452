#include "tools/brix/studio/EventHub.h"

#include <algorithm>

namespace tools::studio {

namespace {

    // Frames waiting for one page beyond this are dropped, oldest first; the
    // page still gets a whole picture, since each later frame covers what changed.
    constexpr size_t maxQueuedFrames = 8;

} // namespace

std::shared_ptr<EventHub::Subscription> EventHub::subscribe()
{
    auto subscription = std::make_shared<Subscription>();
    std::lock_guard lock(m_mutex);
    m_subscriptions.push_back(subscription);
    return subscription;
}

void EventHub::unsubscribe(const std::shared_ptr<Subscription>& subscription)
{
    std::lock_guard lock(m_mutex);
    std::erase(m_subscriptions, subscription);
}

void EventHub::publish(const std::string& kind, const std::string& data)
{
    bool isFrame = kind == "frame";
    std::string text = "event: " + kind + "\ndata: " + data + "\n\n";
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return;
        for (auto& subscription : m_subscriptions) {
            auto& events = subscription->m_events;
            if (isFrame && std::count_if(events.begin(), events.end(), [](auto& e) {
                    return e.isFrame;
                }) >= static_cast<std::ptrdiff_t>(maxQueuedFrames)) {
                // A frame only covers what changed since the frame before it,
                // so the page is sent a fresh whole picture instead (see Studio).
                std::erase_if(events, [](auto& e) { return e.isFrame; });
                events.push_back({ false, "event: stale\ndata: {}\n\n" });
            }
            events.push_back({ isFrame, text });
        }
    }
    m_changed.notify_all();
}

std::optional<std::string> EventHub::next(Subscription& subscription, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_closed || !subscription.m_events.empty(); });
    if (m_closed)
        return std::nullopt;
    if (subscription.m_events.empty())
        return std::string();
    auto text = std::move(subscription.m_events.front().text);
    subscription.m_events.pop_front();
    return text;
}

size_t EventHub::subscriberCount() const
{
    std::lock_guard lock(m_mutex);
    return m_subscriptions.size();
}

void EventHub::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

} // namespace tools::studio
