#include "tools/brix/scenario/InputRecorder.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/springboard/HumanInterface.h"

namespace tools::scenario {

using springboard::HumanInterface;

namespace {

    Json number(double value)
    {
        double rounded = std::round(value * 1e6) / 1e6;
        if (rounded == std::floor(rounded) && std::abs(rounded) < 1e15)
            return static_cast<int64_t>(rounded);
        return rounded;
    }

    struct Gesture {
        std::vector<std::pair<uikit::Point, double>> samples;
        std::optional<HumanInterface::Phase> end;
    };

    Json stepFor(const Gesture& gesture)
    {
        auto& samples = gesture.samples;
        double start = samples.front().second;
        double length = samples.back().second - start;
        auto point = [](uikit::Point at) { return Json::array({ number(at.x), number(at.y) }); };
        if (samples.size() == 1 && gesture.end == HumanInterface::Phase::Ended)
            return { { "at", number(start) }, { "tapAt", point(samples.front().first) } };
        Json points = Json::array();
        for (auto& [at, time] : samples)
            points.push_back(point(at));
        Json step = { { "at", number(start) }, { "touch", points } };
        if (samples.size() > 1) {
            // The runner spaces the points evenly; the touch keeps its start and
            // its end (the interval is written unrounded, so the end stays exact).
            step["interval"] = std::max(length / static_cast<double>(samples.size() - 1), 1e-6);
        }
        if (!gesture.end)
            step["end"] = nullptr;
        else if (*gesture.end == HumanInterface::Phase::Cancelled)
            step["end"] = "cancelled";
        return step;
    }

} // namespace

struct InputRecorder::State {
    // In the order they began: finished gestures and key presses as steps,
    // a finger that is down as the index of its gesture.
    std::vector<std::variant<Gesture, Json>> entries;
    std::map<int, size_t> down;

    void take(const HumanInterface::Input& input)
    {
        if (input.kind == HumanInterface::Input::Kind::Keys) {
            entries.push_back(Json { { "at", number(input.time) }, { "keys", input.keys } });
            return;
        }
        if (input.phase == HumanInterface::Phase::Began) {
            down[input.finger] = entries.size();
            entries.push_back(Gesture { { { input.point, input.time } }, std::nullopt });
            return;
        }
        auto found = down.find(input.finger);
        if (found == down.end())
            return;
        auto& gesture = std::get<Gesture>(entries[found->second]);
        auto& last = gesture.samples.back();
        bool samePlace = last.first.x == input.point.x && last.first.y == input.point.y;
        bool ending = input.phase == HumanInterface::Phase::Ended || input.phase == HumanInterface::Phase::Cancelled;
        // An end where and when the finger last was adds no point.
        if (!(ending && samePlace && std::abs(last.second - input.time) < 1e-9))
            gesture.samples.push_back({ input.point, input.time });
        if (ending) {
            gesture.end = input.phase;
            down.erase(found);
        }
    }
};

InputRecorder::InputRecorder(device::Process& homeScreen)
    : m_state(std::make_shared<State>())
{
    std::weak_ptr<State> weak = m_state;
    HumanInterface::of(homeScreen).addListener([weak](const HumanInterface::Input& input) {
        if (auto state = weak.lock())
            state->take(input);
    });
}

InputRecorder::~InputRecorder() = default;

Json InputRecorder::steps() const
{
    Json steps = Json::array();
    for (auto& entry : m_state->entries) {
        if (auto* gesture = std::get_if<Gesture>(&entry))
            steps.push_back(stepFor(*gesture));
        else
            steps.push_back(std::get<Json>(entry));
    }
    return steps;
}

Json InputRecorder::merge(const Json& others) const
{
    std::vector<Json> all;
    for (auto& step : others)
        all.push_back(step);
    size_t fromOthers = all.size();
    for (auto& step : steps())
        all.push_back(step);
    std::vector<size_t> order(all.size());
    for (size_t index = 0; index < order.size(); ++index)
        order[index] = index;
    auto timeOf = [&](size_t index) { return all[index].value("at", 0.0); };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (timeOf(a) != timeOf(b))
            return timeOf(a) < timeOf(b);
        return a < fromOthers && b >= fromOthers;
    });
    // A step cannot begin before a touch before it has ended: one that did
    // (a second finger, a notification during a drag) waits for it.
    Json merged = Json::array();
    double previousEnd = 0;
    for (size_t index : order) {
        Json step = all[index];
        double at = step.value("at", previousEnd);
        if (at < previousEnd)
            step["at"] = number(previousEnd);
        double length = 0;
        if (step.contains("touch"))
            length = step.value("interval", 0.016) * static_cast<double>(step["touch"].size() - 1);
        else if (step.contains("wait") && step["wait"].is_number())
            length = step["wait"].get<double>();
        previousEnd = std::max(previousEnd, step.value("at", 0.0) + length);
        merged.push_back(std::move(step));
    }
    return merged;
}

} // namespace tools::scenario
