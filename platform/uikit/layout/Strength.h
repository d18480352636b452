#pragma once

#include <string>

namespace layout {

// How hard the solver tries to satisfy a constraint. Required constraints
// always hold; among the others the solver minimises the violations weighted
// by strength. A strength has three levels — strong, medium, weak — each from
// 0 to 1000, weighed 10^6 : 10^3 : 1, so a unit of one level outweighs up to a
// thousand units of the level below it.
struct Strength {
    // Each level is multiplied by `weight` and clamped to [0, 1000].
    static constexpr double create(double strong, double medium, double weak, double weight = 1.0)
    {
        return clampLevel(strong * weight) * 1'000'000.0 + clampLevel(medium * weight) * 1'000.0
            + clampLevel(weak * weight);
    }

    static constexpr double required = 1000.0 * 1'000'000.0 + 1000.0 * 1'000.0 + 1000.0;
    static constexpr double strong = 1'000'000.0;
    static constexpr double medium = 1'000.0;
    static constexpr double weak = 1.0;

    // Clamps to [0, required]; NaN stays NaN, for the solver to refuse.
    static constexpr double clip(double strength)
    {
        return strength > required ? required : strength < 0 ? 0 : strength;
    }

    // "required", "strong", "medium", "weak", or the number.
    static std::string describe(double strength);

private:
    static constexpr double clampLevel(double level) { return level > 1000.0 ? 1000.0 : level < 0 ? 0 : level; }
};

static_assert(Strength::create(1000, 1000, 1000) == Strength::required);
static_assert(Strength::create(1, 0, 0) == Strength::strong);
static_assert(Strength::create(0, 1, 0) == Strength::medium);
static_assert(Strength::create(0, 0, 1) == Strength::weak);

} // namespace layout
