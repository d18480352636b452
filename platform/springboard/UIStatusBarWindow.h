#pragma once

#include "platform/uikit/UIWindow.h"

namespace springboard {

// The window that carries the status bar, at the status-bar level above
// ordinary windows. The home screen creates it at start-up.
class UIStatusBarWindow : public uikit::UIWindow {
public:
    static constexpr double height = 44;

    using UIWindow::UIWindow;

    static void registerClass(device::Process&);
};

} // namespace springboard
