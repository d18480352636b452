#include "platform/device/Trace.h"

#include <cmath>

namespace device {

namespace {

    Trace::Event timeValue(double seconds)
    {
        double rounded = std::round(seconds * 1e6) / 1e6;
        if (std::isfinite(rounded) && rounded == std::floor(rounded) && std::fabs(rounded) < 9.0e15)
            return static_cast<int64_t>(rounded);
        return rounded;
    }

} // namespace

Trace::Trace(std::function<double()> clock)
    : m_clock(std::move(clock))
{
}

void Trace::emit(const std::string& type, Event fields)
{
    Event event = Event::object();
    event["t"] = timeValue(m_clock ? m_clock() : 0);
    event["type"] = type;
    if (fields.is_object()) {
        for (auto& [key, value] : fields.items()) {
            if (key != "t" && key != "type")
                event[key] = std::move(value);
        }
    } else if (!fields.is_null()) {
        event["value"] = std::move(fields);
    }
    if (m_sinks.empty()) {
        if (m_keepsEvents)
            m_events.push_back(std::move(event));
        return;
    }
    // A sink may emit or add sinks in turn, which can move what is stored;
    // it works on copies.
    Event emitted = event;
    if (m_keepsEvents)
        m_events.push_back(std::move(event));
    auto sinks = m_sinks;
    for (auto& sink : sinks)
        sink(emitted);
}

std::vector<Trace::Event> Trace::eventsOfType(const std::string& type) const
{
    std::vector<Event> result;
    for (auto& event : m_events) {
        if (event["type"] == type)
            result.push_back(event);
    }
    return result;
}

void Trace::addSink(Sink sink)
{
    if (sink)
        m_sinks.push_back(std::move(sink));
}

std::string Trace::line(const Event& event)
{
    return event.dump(-1, ' ', false, Event::error_handler_t::replace);
}

} // namespace device
