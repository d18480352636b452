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

    // The responder that receives the window's typing: at most one, held
    // without being owned. Responders change it as they become or resign
    // first responder; the process's keyboard follows (see Keyboard).
    UIResponder* firstResponder() const { return m_firstResponder.get(); }
    void setFirstResponder(UIResponder*);

    // The bands of the screen that its bars cover, from the device: the
    // status bar at the top (44 points on a device with a bottom safe area,
    // 20 without) and the device's bottom safe area. Zero for a window made
    // outside a process.
    EdgeInsets screenSafeAreaInsets() const;
    double screenHeight() const;

    static void registerClass(device::Process&);

private:
    double m_windowLevel { normalLevel };
    device::Device* m_device { nullptr };
    device::Process* m_process { nullptr };
    runtime::WeakRef<UIResponder> m_firstResponder;
    runtime::Ref<UIViewController> m_rootViewController;
};

} // namespace uikit
