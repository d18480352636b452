#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/uikit/Geometry.h"

namespace springboard {

// The person holding the phone: fingers on the screen and key presses, the
// one way input reaches the device, whether it comes from a scenario file
// or from a pointer in the studio. It belongs to the home screen's process
// (a per-process service), which owns the screen: the banner window, the
// status bar and the home screen itself all get their touches through it.
//
// Threading: call it on the device's own thread only, between two turns of
// the device's scheduler (a scenario step, or work handed to the device
// thread). Each call takes effect at once, at the scheduler's current time,
// and runs no queued work; the caller lets the clock move on between the
// phases of a gesture, so that what a move sets off runs before the next.
//
// A pointer maps onto it directly:
//
//     auto& human = springboard::HumanInterface::of(homeScreenProcess);
//     human.touch({ x, y }, HumanInterface::Phase::Began);    // pointer down
//     human.touch({ x, y }, HumanInterface::Phase::Moved);    // each move
//     human.touch({ x, y }, HumanInterface::Phase::Ended);    // pointer up
//     human.touch({ x, y }, HumanInterface::Phase::Cancelled); // pointer lost
//     human.keys("Hi\n");                                     // typing
//
// Points are screen points, origin at the top left. Moves and ends of a
// finger that is not down are dropped (answering nullopt); a finger that goes
// down while down ends as cancelled first. Every began, ended and cancelled
// touch is traced as `touch` with its phase, point, the class of the view
// hit and that of its window (null when none).
class HumanInterface {
public:
    enum class Phase { Began, Moved, Ended, Cancelled };

    // One input as it reached the device, for a recording.
    struct Input {
        double time { 0 };
        enum class Kind { Touch, Keys } kind { Kind::Touch };
        Phase phase { Phase::Began };
        uikit::Point point;
        int finger { 0 };
        std::string keys;
    };
    using Listener = std::function<void(const Input&)>;

    explicit HumanInterface(device::Process& homeScreen);
    static HumanInterface& of(device::Process& homeScreen);

    // One finger at `point`. Answers the class name of the view the finger
    // touched when it went down ("" when it touched no view), or nullopt when
    // the input was dropped.
    std::optional<std::string> touch(uikit::Point point, Phase, int finger = 0);

    // Key presses into the text field that is first responder: each
    // character is one key; "\n" is Return (the field's return action) and
    // "\b" is Backspace. Answers false, doing nothing, when no field is
    // first responder.
    bool keys(std::string_view text);

    // Whether the finger is down.
    bool isDown(int finger = 0) const;

    // Called with every input that was not dropped, after it took effect.
    void addListener(Listener);

private:
    void report(Input);

    device::Process* m_process;
    std::vector<Listener> m_listeners;
};

} // namespace springboard
