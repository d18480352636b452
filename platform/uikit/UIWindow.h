#pragma once

#include "platform/uikit/UIViewController.h"

namespace uikit {

// The root of a view tree on screen. A window starts hidden; its level
// orders it among the other windows (higher in front). At most one window
// of a process is the key window, and only one whose `_canBecomeKeyWindow`
// answers YES can become it.
class UIWindow : public UIView {
public:
    static constexpr double normalLevel = 0;
    static constexpr double statusBarLevel = 1000;

    explicit UIWindow(runtime::Class*);

    double windowLevel() const { return m_windowLevel; }
    void setWindowLevel(double level) { m_windowLevel = level; }

    UIViewController* rootViewController() const;
    // Installs the controller's view as the window's content, filling it.
    void setRootViewController(UIViewController*);

    static void registerClass(device::Process&);

private:
    double m_windowLevel { normalLevel };
    runtime::Ref<UIViewController> m_rootViewController;
};

} // namespace uikit
