#pragma once

#include "platform/uikit/UIWindow.h"

namespace uikit {

// The window that carries the status bar, at the status-bar level above
// ordinary windows. The home screen creates one at start-up.
class UIStatusBarWindow : public UIWindow {
public:
    static constexpr double height = 44;

    using UIWindow::UIWindow;

    static void registerClass(device::Process&);
};

} // namespace uikit
