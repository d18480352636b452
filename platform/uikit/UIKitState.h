#pragma once

#include <vector>

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// What UIKit keeps for one process (a per-process service): the shared
// screen and device objects, the application object, the windows and the
// key window. Windows and the application are referred to without being
// owned; the app keeps them alive.
class UIKitState {
public:
    explicit UIKitState(device::Process&);
    ~UIKitState();

    // The process's state, made on first use.
    static UIKitState& of(device::Process&);

    device::Process& process() const { return *m_process; }

    // Created on first use; nil in a process without UIKit's classes.
    UIScreen* mainScreen();
    UIDevice* currentDevice();

    UIApplication* application() const;
    // The first application object created in the process becomes the shared one.
    void registerApplication(UIApplication&);

    // The process's live windows, oldest first.
    std::vector<runtime::Ref<UIWindow>> windows() const;
    void registerWindow(UIWindow&);
    UIWindow* keyWindow() const;
    void setKeyWindow(UIWindow*);

private:
    device::Process* m_process;
    runtime::Ref<UIScreen> m_mainScreen;
    runtime::Ref<UIDevice> m_currentDevice;
    runtime::WeakRef<UIApplication> m_application;
    std::vector<runtime::WeakRef<UIWindow>> m_windows;
    runtime::WeakRef<UIWindow> m_keyWindow;
};

} // namespace uikit
