#pragma once

#include <vector>

#include "platform/springboard/NCNotificationViewController.h"

namespace springboard {

// The controller of a notification's short look, the compact presentation
// used for banners. When its view loads it puts the system's touch handling
// on it: a tap on the host view opens the notification (its default action),
// a downward pull on the content view opens the long look. Its presentation
// ends through `dismissViewControllerWithTransition:completion:`, which
// takes the view off screen once the transition has run on the device clock,
// traces `system.dismissed` and completes with `finished` YES. A request
// made while the dismissal runs completes with it; one made after it has
// run completes at once, and neither is traced again.
//
// Messages (argument types as the run time carries them):
//   -_handleTapOnView:(object) -> void
//   -dismissViewControllerWithTransition:(int64)completion:(Block<void(bool)>) -> void
//   -_presentLongLookForScrollAnimated:(bool)completion:(Block<void(bool)>) -> void
//   -_presentLongLookViaClickPresentationInteraction:(object) -> void
class NCNotificationShortLookViewController : public NCNotificationViewController {
public:
    // How far the content view must be pulled down to open the long look.
    static constexpr double longLookPullDistance = 40;

    // The transitions the system itself dismisses a presentation with.
    enum SystemTransition : int64_t { Standard = 0, Expired = 1, ActionPerformed = 2 };

    enum class Dismissal { None, Running, Finished };

    using NCNotificationViewController::NCNotificationViewController;

    Dismissal dismissal() const { return m_dismissal; }

    static void registerClass(device::Process&);

private:
    void installSystemGestures(device::Process&);
    void openNotification();
    void handleLongLookPan(runtime::Object* recognizer);
    void dismissWithTransition(device::Process&, int64_t transition, runtime::Block<void(bool)> completion);
    void finishDismissal(device::Process&, int64_t transition, runtime::Block<void(bool)> completion);

    Dismissal m_dismissal { Dismissal::None };
    std::vector<runtime::Block<void(bool)>> m_waitingCompletions;
};

} // namespace springboard
