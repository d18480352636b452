#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/springboard/Forward.h"
#include "platform/uikit/Forward.h"

namespace springboard {

// What the home screen keeps for its process (a per-process service): its
// lock-screen manager, and a directory of the objects its start-up made.
// The directory does not own them; the process keeps them alive.
class SpringBoardState {
public:
    struct StartUpObjects {
        runtime::WeakRef<SpringBoard> application;
        runtime::WeakRef<BBServer> bulletinServer;
        runtime::WeakRef<uikit::UIStatusBarWindow> statusBarWindow;
        runtime::WeakRef<uikit::UIWindow> homeScreenWindow;
        runtime::WeakRef<SBHomeScreenViewController> homeScreenController;
        runtime::WeakRef<SBNotificationBannerWindow> bannerWindow;
        runtime::WeakRef<SBGrabberTongue> grabberTongue;
    };

    explicit SpringBoardState(device::Process&);
    ~SpringBoardState();

    static SpringBoardState& of(device::Process&);

    // Created on first use; nil in a process without the class.
    SBLockScreenManager* lockScreenManager();

    StartUpObjects& startUpObjects() { return m_startUpObjects; }

private:
    device::Process* m_process;
    runtime::Ref<SBLockScreenManager> m_lockScreenManager;
    StartUpObjects m_startUpObjects;
};

} // namespace springboard
