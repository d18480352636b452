#pragma once

#include <memory>

#include "platform/device/Forward.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// Keeps what a person did through the device's input path (touches and key
// presses reaching the home screen's HumanInterface, from a scenario or a
// pointer) as scenario steps that do it again: one `touch` step for each
// finger from down to up (its points one `interval` apart, so that it
// starts and ends at the times it did), one `tapAt` for a finger that went
// down and up at one point at one moment, one `keys` step for each key
// press call. Each step carries `at`, the device time it began.
//
// The steps of other inputs (notifications, buttons, style, settings) are the
// caller's to keep; `merge` puts them in time order with these.
class InputRecorder {
public:
    explicit InputRecorder(device::Process& homeScreen);
    ~InputRecorder();
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    // The recorded steps, in the order they began; a finger still down is
    // written with `"end": null`.
    Json steps() const;

    // `others` (steps with "at") and the recorded steps, by time; at equal
    // times `others` come first. A step that began while a recorded touch
    // was still going on (a second finger, a notification during a drag)
    // is moved to the touch's end, since a scenario plays one step at a time.
    Json merge(const Json& others) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace tools::scenario
