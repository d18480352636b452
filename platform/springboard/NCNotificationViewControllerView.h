#pragma once

#include "platform/uikit/UIView.h"

namespace springboard {

// The view of a notification controller: it hosts the notification's
// content view as a subview. The system names this class
// "_NCNotificationViewControllerView" before version 12.0 and
// "NCNotificationViewControllerView" from 12.0 on; both classes exist, and
// a controller builds its view from the one of the running version.
class NCNotificationViewControllerView : public uikit::UIView {
public:
    static constexpr const char* className = "NCNotificationViewControllerView";
    static constexpr const char* legacyClassName = "_NCNotificationViewControllerView";

    using UIView::UIView;

    uikit::UIView* contentView() const { return m_contentView.get(); }
    // Replaces the content view, which fills the host view.
    void setContentView(uikit::UIView*);

    // Whether a touch at `point` (own coordinates) is the banner's: inside
    // the view, or on a visible, touchable subview that hangs out of it (a
    // banner slides in from above and may sit higher than its host). This
    // is the view's `pointInside:withEvent:`.
    bool takesTouchAt(uikit::Point) const;

    // The host view class of a system version.
    static const char* classNameFor(std::string_view systemVersion);

    static void registerClass(device::Process&);

private:
    runtime::Ref<uikit::UIView> m_contentView;
};

} // namespace springboard
