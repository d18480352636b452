#pragma once

#include <functional>
#include <string>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// Delivers a scenario's touches, key presses and hardware events to the home
// screen as the platform would. A touch lands at the middle of the visible
// part of a banner and goes to the deepest visible, touchable view under
// it; the first recognizer of the right kind on that view or one of its
// superviews recognizes it. A button is pressed only while it can be seen
// and is enabled; typing and the send key go to the text field that is the
// first responder of the key window, through the keyboard's own calls.
//
// Each finder answers how to deliver the input, or nothing when the input
// has no target, so that the caller can trace the outcome before the input
// takes effect.
class InputDriver {
public:
    using Delivery = std::function<void()>;

    explicit InputDriver(device::Process& homeScreen);

    // `controller` is the banner's notification controller.
    Delivery tap(runtime::Object* controller) const;
    Delivery pan(runtime::Object* controller, const Pan&) const;
    Delivery press(runtime::Object* controller, const std::string& button) const;
    Delivery tapBackdrop(runtime::Object* controller) const;
    Delivery typeText(const std::string& text) const;
    Delivery sendKey() const;

    // Hardware and system events always reach the system; these answer what it answered.
    bool physicalButton(int64_t type, double force) const;
    bool dismissGrabber(int64_t style, bool animated) const;
    void lock() const;

private:
    uikit::UIView* bannerView(runtime::Object* controller) const;
    template <typename Recognizer> Recognizer* recognizerUnderTouch(runtime::Object* controller) const;
    uikit::UITextField* focusedField() const;

    device::Process* m_process;
};

} // namespace tools::scenario
