#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Types.h"

namespace springboard {

// Carries out what the user does with a notification the home screen shows:
// the delegate of every notification controller the system makes. Its
// default action (or any action naming an app to launch) opens the app,
// traced as `app.opened` with the app's bundle identifier; the default, clear
// and close actions then end the notification's presentation with the
// transition ActionPerformed.
//
// Messages:
//   -notificationViewController:(object)executeAction:(object)withParameters:(Value)
//    completion:(Block<void(bool)>) -> void
class SBNotificationBannerDestination : public runtime::NSObject {
public:
    using NSObject::NSObject;

    static void registerClass(device::Process&);

private:
    void executeAction(
        device::Process&, runtime::Object* controller, runtime::Object* action, runtime::Block<void(bool)> completion);
};

} // namespace springboard
