#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace springboard {

// One thing the user can do with a notification: open it, clear it, reply,
// snooze an alarm... Its identifier names it; an action that opens an app
// names the app's bundle identifier.
class NCNotificationAction : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& identifier() const { return m_identifier; }
    const foundation::Value& title() const { return m_title; }
    const foundation::Value& launchBundleID() const { return m_launchBundleID; }

    static runtime::Ref<NCNotificationAction> make(runtime::Runtime&, foundation::Value identifier,
        foundation::Value title = {}, foundation::Value launchBundleID = {});

    static void registerClass(device::Process&);

private:
    foundation::Value m_identifier;
    foundation::Value m_title;
    foundation::Value m_launchBundleID;
};

} // namespace springboard
