#pragma once

#include <string>

#include "platform/device/Trace.h"
#include "platform/foundation/Value.h"
#include "platform/springboard/Forward.h"
#include "platform/uikit/UIViewController.h"

namespace springboard {

// Shows one notification request. Its view is the notification host view
// (NCNotificationViewControllerView, or its older name before 12.0) with a
// short-look content view showing the request's texts and icons. Actions
// are performed through `_askDelegateToExecuteAction:withParameters:animated:`,
// which traces `action.executed` and hands them to the controller's delegate
// when it answers `notificationViewController:executeAction:withParameters:completion:`.
// A notification controller presents another notification controller in its
// own place: the presented view takes the presenting view's frame, and the
// presentation is traced as `system.presented`. Every event a controller
// traces names its notification by the request's `notificationIdentifier`
// (`id`).
//
// Messages (argument types as the run time carries them):
//   -initWithNotificationRequest:(object) -> object, -notificationRequest -> object
//   -delegate -> object, -setDelegate:(object), held weakly
//   -_askDelegateToExecuteAction:(object)withParameters:(Value)animated:(bool) -> void
//   -presentLongLookAnimated:(bool)trigger:(int64)completion:(Block<void(bool)>) -> void
//   -presentViewController:(object)animated:(bool)completion:(Block<void()>) -> void
class NCNotificationViewController : public uikit::UIViewController {
public:
    // What made a long look appear.
    enum LongLookTrigger : int64_t { Unspecified = 0, Click = 1, Scroll = 2 };
    static constexpr double shortLookHeight = 76;

    using UIViewController::UIViewController;

    NCNotificationRequest* notificationRequest() const;
    runtime::Object* delegate() const { return m_delegate.get(); }
    bool isPresentingLongLook() const { return m_presentingLongLook; }
    int64_t longLookTrigger() const { return m_longLookTrigger; }

    // The request's `notificationIdentifier`, or nil without a request.
    foundation::Value notificationIdentifier() const;
    // Traces an event about this controller's notification: `id` first, then `fields`.
    void traceEvent(device::Process&, const std::string& type, device::Trace::Event fields = {}) const;

    static void registerClass(device::Process&);

private:
    void setNotificationRequest(NCNotificationRequest*);
    void loadHostView(device::Process&);
    void executeAction(device::Process&, runtime::Object* action, const foundation::Value& parameters, bool animated);
    void presentLongLook(device::Process&, bool animated, int64_t trigger, runtime::Block<void(bool)> completion);
    void presentInPlace(device::Process&, const runtime::Class& definingClass, runtime::Object* controller,
        bool animated, runtime::Block<void()> completion);

    runtime::Ref<NCNotificationRequest> m_request;
    runtime::WeakRef<runtime::Object> m_delegate;
    bool m_presentingLongLook { false };
    int64_t m_longLookTrigger { Unspecified };
};

} // namespace springboard
