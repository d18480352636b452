#pragma once

#include <vector>

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// An `expect` pattern over trace events. Every field of the pattern must
// match the event's field of the same name: strings, booleans and null by
// equality, numbers by value (within a millionth, so 1 matches 1.0),
// objects recursively as subsets, arrays element by element with the same
// length. A field the event lacks never matches.
class Matcher {
public:
    static constexpr double numberTolerance = 1e-6;

    explicit Matcher(Json pattern);

    const Json& pattern() const { return m_pattern; }
    bool matches(const Json& event) const;

    // The events that come nearest to the pattern, nearest first, at most
    // `count`: those of the pattern's type before others, then by the number
    // of fields that match.
    std::vector<const Json*> closest(const std::vector<const Json*>& events, size_t count) const;

    static bool valueMatches(const Json& pattern, const Json& value);

private:
    size_t score(const Json& event) const;

    Json m_pattern;
};

} // namespace tools::scenario
