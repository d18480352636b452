#pragma once

#include "platform/springboard/Forward.h"
#include "platform/uikit/UIViewController.h"

namespace springboard {

// Hosts the content of a notification request inside a presentation.
// `initWithNotificationRequest:` answers nil for a request that cannot be
// shown: none at all, or one without a section identifier (no app to show
// it for). Whether its content takes touches is its `userInteractionEnabled`,
// YES unless set otherwise; the controller applies the answer to its view
// when the view loads and whenever the value is set, so a changed answer
// reaches the screen.
class NCNotificationContentContainerViewController : public uikit::UIViewController {
public:
    using UIViewController::UIViewController;

    NCNotificationRequest* notificationRequest() const;

    static void registerClass(device::Process&);

private:
    void applyUserInteraction();

    runtime::Ref<NCNotificationRequest> m_request;
    bool m_userInteractionEnabled { true };
};

} // namespace springboard
