#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Types.h"

namespace springboard {

// Brings up the lock screen and takes it away; one per home-screen process
// (`sharedInstance`). Locking goes through
// `_activateLockScreenAnimated:animationProvider:automatically:inScreenOffMode:dimInAnimation:dismissNotificationCenter:completion:`,
// which locks the interface and calls its completion once the lock screen
// is up on the device clock.
//
// Messages: +sharedInstance, -isUILocked -> bool,
//   -lockUIFromSource:(int64)withOptions:(Value),
//   -_activateLockScreenAnimated:(bool)animationProvider:(object)automatically:(bool)inScreenOffMode:(bool)
//    dimInAnimation:(bool)dismissNotificationCenter:(bool)completion:(Block<void()>) -> void,
//   -unlockUIFromSource:(int64)withOptions:(Value) -> bool
class SBLockScreenManager : public runtime::NSObject {
public:
    using NSObject::NSObject;

    bool isUILocked() const { return m_uiLocked; }
    // How many times the lock screen was activated.
    int64_t activationCount() const { return m_activationCount; }

    static void registerClass(device::Process&);

private:
    void activateLockScreen(device::Process&, bool animated, runtime::Block<void()> completion);
    bool unlock();

    bool m_uiLocked { false };
    int64_t m_activationCount { 0 };
};

} // namespace springboard
