#include "tools/brix/scenario/Matcher.h"

#include <algorithm>
#include <cmath>

namespace tools::scenario {

Matcher::Matcher(Json pattern)
    : m_pattern(std::move(pattern))
{
}

bool Matcher::valueMatches(const Json& pattern, const Json& value)
{
    if (pattern.is_object()) {
        if (!value.is_object())
            return false;
        for (auto& [key, expected] : pattern.items()) {
            auto found = value.find(key);
            if (found == value.end() || !valueMatches(expected, *found))
                return false;
        }
        return true;
    }
    if (pattern.is_array()) {
        if (!value.is_array() || value.size() != pattern.size())
            return false;
        for (size_t index = 0; index < pattern.size(); ++index) {
            if (!valueMatches(pattern[index], value[index]))
                return false;
        }
        return true;
    }
    if (pattern.is_number())
        return value.is_number() && std::fabs(pattern.get<double>() - value.get<double>()) <= numberTolerance;
    return pattern == value;
}

bool Matcher::matches(const Json& event) const
{
    return valueMatches(m_pattern, event);
}

size_t Matcher::score(const Json& event) const
{
    if (!event.is_object())
        return 0;
    size_t score = 0;
    for (auto& [key, expected] : m_pattern.items()) {
        auto found = event.find(key);
        if (found == event.end() || !valueMatches(expected, *found))
            continue;
        // The type weighs more than all the other fields together.
        score += key == "type" ? 1000 : 1;
    }
    return score;
}

std::vector<const Json*> Matcher::closest(const std::vector<const Json*>& events, size_t count) const
{
    std::vector<std::pair<size_t, const Json*>> ranked;
    for (auto* event : events) {
        if (size_t value = score(*event); value > 0)
            ranked.emplace_back(value, event);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first > b.first; });
    std::vector<const Json*> result;
    for (size_t index = 0; index < ranked.size() && index < count; ++index)
        result.push_back(ranked[index].second);
    return result;
}

} // namespace tools::scenario
