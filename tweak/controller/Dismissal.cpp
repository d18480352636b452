// When and how a banner goes away. Every dismissal Brix starts slides the
// banner up out of sight first; only when that has finished is the system
// asked to end its presentation, through the "dismissnoani" command.

#include <optional>

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Block;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;
using runtime::WeakRef;

namespace {

    // Far enough above the resting offset to be out of sight on every screen.
    constexpr double slideOutTranslation = -1000;
    constexpr double slideOutBaseDuration = 0.7;
    constexpr double slideOutDurationPerLine = 0.02;

    int64_t measuredLines(Object* banner, Selector label)
    {
        return sendIfResponds<int64_t>(sendIfResponds<Ref<Object>>(banner, label), SEL("_measuredNumberOfLines"));
    }

    // Longer texts leave a little more slowly: the body's lines count, or the
    // header's for a tiny banner or one whose body shows no line.
    double slideOutDuration(Brix& brix, Object* banner)
    {
        int64_t lines = measuredLines(banner, SEL("bodyLabel"));
        if (brix.settings().tinyBanner || lines == 0)
            lines = measuredLines(banner, SEL("headerLabel"));
        return slideOutBaseDuration + slideOutDurationPerLine * static_cast<double>(lines);
    }

    void removeBanner(Object* controller, Object* banner)
    {
        if (!banner)
            return;
        send(banner, SEL("removeFromSuperview"));
        setBrixView(controller, nullptr);
    }

    // A newer banner is already taking this one's place: nothing is asked of the system.
    Block<void(bool)> externalCompletion(Object* controller, Object* banner)
    {
        return [weak = WeakRef<Object>(controller), held = Ref<Object>(banner)](bool finished) {
            Ref<Object> controller = weak.strong();
            if (finished && controller)
                removeBanner(controller, held);
        };
    }

    Block<void(bool)> normalCompletion(Object* controller, Object* banner)
    {
        return [weak = WeakRef<Object>(controller), held = Ref<Object>(banner)](bool finished) {
            Ref<Object> controller = weak.strong();
            if (!finished || !controller)
                return;
            if (!flag(controller, Flag::HasDismissed))
                sendIfResponds(controller, SEL("preDismiss"));
            removeBanner(controller, held);
        };
    }

    bool isEditingReply(Object* banner)
    {
        return sendIfResponds<bool>(sendIfResponds<Ref<Object>>(banner, SEL("reply")), SEL("isFirstResponder"));
    }

    void slideOut(Brix& brix, Object* controller, Object* banner)
    {
        sendIfResponds(banner, SEL("setOverlayWithAnimation:"), 0.0);
        double duration = slideOutDuration(brix, banner);
        Selector slide = SEL("dismissGestureHandler:forView:animated:duration:completion:");
        if (flag(controller, Flag::WasExternallyDismissed)) {
            send(
                controller, slide, slideOutTranslation, banner, true, duration, externalCompletion(controller, banner));
            return;
        }
        send(controller, slide, slideOutTranslation, banner, true, duration, normalCompletion(controller, banner));
        if (isEditingReply(banner))
            sendIfResponds<bool>(sendIfResponds<Ref<Object>>(banner, SEL("reply")), SEL("resignFirstResponder"));
    }

    void attemptDismiss(Brix& brix, Object* controller, Object* view, bool forced)
    {
        if (!controller)
            return;
        setFlag(controller, Flag::DismissCalled, true);
        if (flag(controller, Flag::HasDismissed))
            return;
        if (forced) {
            setFlag(controller, Flag::IsDismissing, false);
            setFlag(controller, Flag::HasDismissed, false);
            setFlag(controller, Flag::AutoDimissTriggered, true);
            setHoldFlag(brix, true);
        }
        // A banner held open by the user ignores everything but a forced dismissal.
        if (!holdFlag(brix) || !flag(controller, Flag::AutoDimissTriggered))
            return;
        Ref<Object> banner(view);
        if (!banner)
            banner = brixView(controller);
        if (!banner || flag(controller, Flag::IsDismissing))
            return;
        // A reply being written keeps the banner up as a held banner is kept:
        // sending it, or any other forced dismissal, takes the banner away.
        if (!forced && isEditingReply(banner))
            return;
        setFlag(controller, Flag::IsDismissing, true);
        slideOut(brix, controller, banner);
    }

    void preDismiss(Brix& brix, Object* controller)
    {
        if (flag(controller, Flag::HasDismissed))
            return;
        if (!flag(controller, Flag::AutoDimissTriggered) || !holdFlag(brix))
            return;
        bool externallyDismissed = !brixView(controller) || flag(controller, Flag::WasExternallyDismissed);
        if (!externallyDismissed)
            postCommand(brix, command("dismissnoani"));
    }

    void moveTopEdge(
        Object* banner, double translation, bool animated, std::optional<double> duration, Block<void(bool)> completion)
    {
        double offset = sendIfResponds<double>(banner, SEL("defaultOffset")) + translation;
        if (duration) {
            sendIfResponds(banner, SEL("updateBrixTopConstraint:animated:duration:completion:"), offset, animated,
                *duration, std::move(completion));
            return;
        }
        sendIfResponds(
            banner, SEL("updateBrixTopConstraint:animated:completion:"), offset, animated, std::move(completion));
    }

} // namespace

void automaticDismissalDidFire(Object* controller)
{
    if (!controller || flag(controller, Flag::IsDismissing) || flag(controller, Flag::DismissCalled)
        || flag(controller, Flag::WasExternallyDismissed))
        return;
    setFlag(controller, Flag::AutoDimissTriggered, true);
    sendIfResponds(controller, SEL("attemptDismissNotificationForView:forced:"), static_cast<Object*>(nullptr), false);
}

Imp addForceDismissNotification(Brix&)
{
    return Imp::of([](Object* self, Selector, Object* view) {
        send(self, SEL("attemptDismissNotificationForView:forced:"), view, true);
    });
}

Imp addAttemptDismissNotification(Brix& brix)
{
    return Imp::of(
        [&brix](Object* self, Selector, Object* view, bool forced) { attemptDismiss(brix, self, view, forced); });
}

// The banner starts to leave before the system opens the notification.
Imp replaceHandleTapOnView(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector, Object* argument) {
        send(self, SEL("forceDismissNotificationForView:"), static_cast<Object*>(nullptr));
        (*previous)(self, selector, argument);
    });
}

Imp addDismissGestureHandler(Brix&)
{
    return Imp::of(
        [](Object*, Selector, double translation, Object* view, bool animated, Block<void(bool)> completion) {
            moveTopEdge(view, translation, animated, std::nullopt, std::move(completion));
        });
}

Imp addDismissGestureHandlerWithDuration(Brix&)
{
    return Imp::of([](Object*, Selector, double translation, Object* view, bool animated, double duration,
                       Block<void(bool)> completion) {
        moveTopEdge(view, translation, animated, duration, std::move(completion));
    });
}

Imp addPreDismiss(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector) { preDismiss(brix, self); });
}

} // namespace brix::controller
