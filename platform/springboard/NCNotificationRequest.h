#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/springboard/NCNotificationAction.h"
#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationOptions.h"
#include "platform/springboard/UNNotification.h"

namespace springboard {

// A notification as the home screen handles it: which app posted it
// (`sectionIdentifier`), the conversation it belongs to
// (`threadIdentifier`), what it shows, how it is presented and what can be
// done with it. `supplementaryActions` maps a layout key to an array of
// actions. The app's own request and payload are reached through
// `userNotification`.
class NCNotificationRequest : public runtime::NSObject {
public:
    // Everything a request is made of. Texts and identifiers may be nil.
    struct Contents {
        foundation::Value sectionIdentifier;
        foundation::Value threadIdentifier;
        foundation::Value notificationIdentifier;
        foundation::Value title;
        foundation::Value subtitle;
        foundation::Value message;
        foundation::Value summaryText;
        foundation::Value icons; // an array of images
        foundation::Value userInfo;
        // Without options the request says nothing about its presentation.
        bool hasOptions { true };
        bool dismissAutomatically { true };
        runtime::Ref<NCNotificationAction> clearAction;
        runtime::Ref<NCNotificationAction> closeAction;
        runtime::Ref<NCNotificationAction> silenceAction;
        runtime::Ref<NCNotificationAction> defaultAction;
        foundation::Value supplementaryActions; // layout key → array of actions
    };

    using NSObject::NSObject;

    const foundation::Value& sectionIdentifier() const { return m_sectionIdentifier; }
    const foundation::Value& threadIdentifier() const { return m_threadIdentifier; }
    const foundation::Value& notificationIdentifier() const { return m_notificationIdentifier; }
    NCNotificationContent* content() const { return m_content.get(); }
    NCNotificationOptions* options() const { return m_options.get(); }
    NCNotificationAction* clearAction() const { return m_clearAction.get(); }
    NCNotificationAction* closeAction() const { return m_closeAction.get(); }
    NCNotificationAction* silenceAction() const { return m_silenceAction.get(); }
    NCNotificationAction* defaultAction() const { return m_defaultAction.get(); }
    const foundation::Value& supplementaryActions() const { return m_supplementaryActions; }
    UNNotification* userNotification() const { return m_userNotification.get(); }

    // A new request of the process's class "NCNotificationRequest", with its
    // content, options and the app's own notification made from `contents`.
    static runtime::Ref<NCNotificationRequest> make(device::Process&, Contents);

    static void registerClass(device::Process&);

private:
    foundation::Value m_sectionIdentifier;
    foundation::Value m_threadIdentifier;
    foundation::Value m_notificationIdentifier;
    runtime::Ref<NCNotificationContent> m_content;
    runtime::Ref<NCNotificationOptions> m_options;
    runtime::Ref<NCNotificationAction> m_clearAction;
    runtime::Ref<NCNotificationAction> m_closeAction;
    runtime::Ref<NCNotificationAction> m_silenceAction;
    runtime::Ref<NCNotificationAction> m_defaultAction;
    foundation::Value m_supplementaryActions;
    runtime::Ref<UNNotification> m_userNotification;
};

} // namespace springboard
