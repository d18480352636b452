#pragma once

#include <vector>

#include "platform/uikit/UIApplication.h"

namespace springboard {

// The home screen's application object. Physical button events reach it
// through `_handlePhysicalButtonEvent:`, which handles the presses of the
// buttons it knows and answers whether it handled any.
//
// Messages: -_handlePhysicalButtonEvent:(object answering allPresses) -> bool
class SpringBoard : public uikit::UIApplication {
public:
    // The press types of the device's physical buttons.
    enum PhysicalButton : int64_t { Home = 101, VolumeUp = 102, VolumeDown = 103, Lock = 104 };

    using UIApplication::UIApplication;

    // The button types of every press handled so far, oldest first.
    const std::vector<int64_t>& handledPresses() const { return m_handledPresses; }

    static void registerClass(device::Process&);

private:
    bool handlePhysicalButtonEvent(runtime::Object* event);

    std::vector<int64_t> m_handledPresses;
};

} // namespace springboard
