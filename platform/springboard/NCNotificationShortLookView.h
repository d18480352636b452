#pragma once

#include "platform/foundation/Value.h"
#include "platform/springboard/Forward.h"
#include "platform/uikit/UIView.h"

namespace springboard {

// The system's own banner content: the notification's title
// (`primaryText`), subtitle (`primarySubtitleText`), message
// (`secondaryText`), the summary line of a group (`summaryText`) — each a
// string or nil — and its icons, an array of images.
class NCNotificationShortLookView : public uikit::UIView {
public:
    using UIView::UIView;

    const foundation::Value& primaryText() const { return m_primaryText; }
    const foundation::Value& primarySubtitleText() const { return m_primarySubtitleText; }
    const foundation::Value& secondaryText() const { return m_secondaryText; }
    const foundation::Value& summaryText() const { return m_summaryText; }
    const foundation::Value& icons() const { return m_icons; }

    // Shows the content of a notification.
    void showContent(const NCNotificationContent&);

    static void registerClass(device::Process&);

private:
    foundation::Value m_primaryText;
    foundation::Value m_primarySubtitleText;
    foundation::Value m_secondaryText;
    foundation::Value m_summaryText;
    foundation::Value m_icons;
};

} // namespace springboard
