#pragma once

#include <string>
#include <string_view>

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// The on-screen keyboard of one process (a per-process service). It comes up
// while a text field is the first responder of one of the process's windows
// and goes away when the field resigns. It is a window of its own, in front
// of every other, across the bottom of the screen: plain rows of keys drawn
// like any view, so that it shows in the screen picture and takes touches.
//
// Keys go to the field that is first responder: a character is inserted at
// the field's cursor (the end of its text), Backspace deletes the character
// before it and Return presses the field's return key (its return action).
class Keyboard {
public:
    static constexpr double keysHeight = 216;

    explicit Keyboard(device::Process&);
    ~Keyboard();
    static Keyboard& of(device::Process&);

    bool isVisible() const;
    // In screen points: the full width, from the bottom of the screen up by
    // the height of the keys plus the screen's bottom safe area.
    Rect frame() const;
    // Nil until the keyboard first came up.
    UIWindow* window() const { return m_window.get(); }

    // The text field that takes the keys: the first responder of the key
    // window, else of any other window of the process.
    UITextField* field() const;

    // Presses keys in turn: "\n" is Return, "\b" Backspace, any other
    // character (UTF-8) is typed. Answers false, doing nothing, without a field.
    bool press(std::string_view keys);

    // A window's first responder changed: shows or hides the keyboard.
    void firstResponderChanged();

    static void registerClasses(device::Process&);

private:
    void show();
    void build();

    device::Process* m_process;
    runtime::Ref<UIWindow> m_window;
};

} // namespace uikit
