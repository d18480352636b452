#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tools::studio {

// Hands server-sent events from the device thread to every page that
// listens, each page on a server thread of its own. Safe from any thread. A
// page that falls far behind loses its oldest frames, never its trace.
class EventHub {
public:
    class Subscription;

    // A page starts listening; it receives every event published from now on.
    std::shared_ptr<Subscription> subscribe();
    void unsubscribe(const std::shared_ptr<Subscription>&);

    // `data` is one line of text (JSON); events of kind "frame" may be dropped.
    void publish(const std::string& kind, const std::string& data);

    // The next event in the wire format ("event: K\ndata: D\n\n"); an empty
    // text when `timeout` passed with none; nothing once the hub is closed.
    std::optional<std::string> next(Subscription&, std::chrono::milliseconds timeout);

    size_t subscriberCount() const;
    // Ends every subscription: waiting pages are let go at once.
    void close();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::shared_ptr<Subscription>> m_subscriptions;
    bool m_closed { false };
};

class EventHub::Subscription {
    friend class EventHub;
    struct Event {
        bool isFrame;
        std::string text;
    };
    std::deque<Event> m_events;
};

} // namespace tools::studio
