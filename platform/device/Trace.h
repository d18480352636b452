#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace device {

// The record of everything a user or another app could observe on the
// device: one JSON object per event with its time `t` (device seconds) and
// its `type`, then its own fields in the order they were given. Events stay
// in memory and go to every attached sink as they are emitted.
class Trace {
public:
    using Event = nlohmann::ordered_json;
    using Sink = std::function<void(const Event&)>;

    explicit Trace(std::function<double()> clock);

    // Records an event of `type` with the given fields (an object; anything
    // else is kept under "value"). The time is rounded to the microsecond and
    // written as an integer when it is whole (0, 2, 1.5).
    void emit(const std::string& type, Event fields = Event::object());

    const std::vector<Event>& events() const { return m_events; }
    // Whether emitted events are kept in memory (the default) or only handed
    // to the sinks, for a device that runs for a long time.
    void setKeepsEvents(bool keeps) { m_keepsEvents = keeps; }
    std::vector<Event> eventsOfType(const std::string& type) const;
    void addSink(Sink);

    // One event as a line of JSON Lines, without the line break. Text that
    // is not valid UTF-8 is written with replacement characters.
    static std::string line(const Event&);

private:
    std::function<double()> m_clock;
    std::vector<Event> m_events;
    std::vector<Sink> m_sinks;
    bool m_keepsEvents { true };
};

} // namespace device
