#pragma once

#include <cstddef>

namespace tools::scenario {

struct Step;

// Told what a scenario run does as it does it: a progress display, or a
// report that pictures each step. Calls come on the runner's thread, between
// pieces of device work, so an observer may look at the device.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // `step` has run and the work it caused has settled; `held` is false when
    // the step failed (an expectation that did not hold, a snapshot not written).
    virtual void stepPlayed(const Step&, bool held) { }
    // Frame `number` (from 1) of `total` went into the animation.
    virtual void frameRendered(size_t number, size_t total) { }
};

} // namespace tools::scenario
