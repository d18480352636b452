#pragma once

#include "platform/runtime/Runtime.h"

#include "tweak/HookTable.h"

namespace brix {

class Brix;

// The implementations the hook table installs for the banner controller's
// behaviours, grouped by the source that builds them. A replacement is made
// from the implementation it replaced and calls it as its behaviour says; an
// addition stands alone.
namespace controller {

    using runtime::Imp;

    // Attach.cpp: turning the system's banner into a Brix banner.
    Imp replaceDidMoveToSuperview(Brix&, Previous);

    // CommandChannel.cpp: the commands of "BrixNotification".
    Imp addReceivedBrixNotification(Brix&);

    // Hosting.cpp: guards against the system's own presentations, lifecycle and
    // style hooks, the profile-picture dispatch and the status-bar window record.
    Imp replaceContentUserInteractionEnabled(Brix&, Previous);
    Imp replaceCanBecomeKeyWindow(Brix&, Previous);
    Imp replaceViewDidLoad(Brix&, Previous);
    Imp replaceDealloc(Brix&, Previous);
    Imp replaceTraitCollectionDidChange(Brix&, Previous);
    Imp addUpdateProfilePicture(Brix&);
    Imp replaceDismissViewControllerWithTransition(Brix&, Previous);
    Imp replacePresentLongLookForScroll(Brix&, Previous);
    Imp replacePresentLongLookViaClick(Brix&, Previous);
    Imp replacePresentLongLook(Brix&, Previous);
    Imp replacePresentViewController(Brix&, Previous);
    Imp replaceStatusBarWindowInitWithFrame(Brix&, Previous);
    Imp addBrixSharedWindow(Brix&);

    // Dismissal.cpp: the dismissal state machine and the slide-out.
    Imp addForceDismissNotification(Brix&);
    Imp addAttemptDismissNotification(Brix&);
    Imp replaceHandleTapOnView(Brix&, Previous);
    Imp addDismissGestureHandler(Brix&);
    Imp addDismissGestureHandlerWithDuration(Brix&);
    Imp addPreDismiss(Brix&);
    // The automatic dismissal's step, run when the timer of a banner fires.
    void automaticDismissalDidFire(runtime::Object* controller);

    // Gestures.cpp: dragging a banner up or down.
    Imp addPanGestureHandler(Brix&);
    Imp addExpandGestureHandler(Brix&);

    // Actions.cpp: the notification's actions and their feedback.
    Imp addAttemptDeleteForView(Brix&);
    Imp addAttemptSilence(Brix&);
    Imp addExecuteOnAlarm(Brix&);
    Imp addSendReply(Brix&);
    // Confirms an action with a haptic or a sound, unless `vibrate_on_send` is off.
    void sendFeedback(Brix&);

    // Messages.cpp: replies and read receipts sent through the Messages app;
    // the banner controller's side and the conversation list's.
    Imp addSendMessageReply(Brix&);
    Imp addMarkMessagesAsRead(Brix&);
    Imp replaceConversationListViewDidLoad(Brix&, Previous);
    Imp replaceConversationListDealloc(Brix&, Previous);
    Imp addMarkAsRead(Brix&);
    Imp addReceivedMessageContacts(Brix&);

    // SystemEvents.cpp: the grabber, the physical buttons, the lock screen and a
    // presentation over a held banner.
    Imp replaceGrabberDismiss(Brix&, Previous);
    Imp replaceHandlePhysicalButtonEvent(Brix&, Previous);
    Imp addAttemptUpdateReply(Brix&);
    Imp addAttemptDeleteWithoutDismissal(Brix&);
    Imp replaceActivateLockScreen(Brix&, Previous);

    // TestBanner.cpp: the test notification asked for by the settings page, and
    // the capture of the system's bulletin server it is published through.
    Imp replaceHomeScreenViewDidLoad(Brix&, Previous);
    Imp replaceHomeScreenDealloc(Brix&, Previous);
    Imp addReceivedBannerTest(Brix&);
    Imp replaceBulletinServerInitWithQueue(Brix&, Previous);
    Imp replaceBulletinServerInitWithServices(Brix&, Previous);
    Imp replaceBulletinServerDealloc(Brix&, Previous);

    // Queries.cpp: what a controller answers about its notification.
    Imp addShouldAutoDismiss(Brix&);
    Imp addGetAlarmActions(Brix&);
    Imp addIsAlarm(Brix&);
    Imp addGetBundleId(Brix&);
    Imp addCanReply(Brix&);
    Imp addGetReplyAction(Brix&);
    Imp addIsPartOfBanner(Brix&);

} // namespace controller
} // namespace brix
