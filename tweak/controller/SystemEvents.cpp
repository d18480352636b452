// Events of the home screen that must close or update a banner although they
// do not pass through its controller: the grabber, a physical button, the
// lock screen, and a newer notification presented over a held banner. They
// become commands of "BrixNotification".

#include <cmath>

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Block;
using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr int64_t homeButtonPress = 101;

    // A press's force counts by its integer part, so any press lighter than 1 has no force.
    bool hasNoForce(double force)
    {
        return std::isfinite(force) && std::trunc(force) == 0;
    }

    Value pressesOf(Object* event)
    {
        Value presses = sendIfResponds<Value>(event, SEL("allPresses"));
        if (presses.isObject())
            presses = sendIfResponds<Value>(presses.object(), SEL("allObjects"));
        return presses;
    }

    void physicalButtonPressed(Brix& brix, Object* event)
    {
        Value presses = pressesOf(event);
        if (presses.count() == 0)
            return;
        Object* press = presses[0].object();
        bool homeWithoutForce = sendIfResponds<int64_t>(press, SEL("type")) == homeButtonPress
            && hasNoForce(sendIfResponds<double>(press, SEL("force")));
        if (homeWithoutForce && !holdFlag(brix))
            postCommand(brix, command("dismissnoani"));
    }

    // The newer notification's texts go to the held banner of the same
    // conversation; the held notification is cleared only when its own banner
    // took them, since otherwise nothing shows the newer text in its place.
    void updateHeldBanner(Brix& brix, Object* controller, Object* presentedView)
    {
        auto content = sendIfResponds<Ref<Object>>(presentedView, SEL("contentView"));
        Value primary = sendIfResponds<Value>(content, SEL("primaryText"));
        Value header = isPresent(primary) ? primary : sendIfResponds<Value>(content, SEL("primarySubtitleText"));
        Value body = bodyOf(brix, content);
        if (header.isNil() || body.isNil())
            return;
        Value update = command("updateReply");
        update.set("header", header);
        update.set("body", body);
        bool taken = bannerTakesUpdate(controller, update);
        postCommand(brix, update);
        if (taken)
            send(controller, SEL("attemptDelete"));
    }

} // namespace

// While a banner is held open, the grabber's dismissal dismisses the banner instead.
Imp replaceGrabberDismiss(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector, int64_t style, bool animated) {
        if (!holdFlag(brix)) {
            postCommand(brix, command("dismiss"));
            return true;
        }
        return (*previous).operator()<bool>(self, selector, style, animated);
    });
}

Imp replaceHandlePhysicalButtonEvent(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector, Object* event) {
        bool handled = (*previous).operator()<bool>(self, selector, event);
        physicalButtonPressed(brix, event);
        return handled;
    });
}

// Locking always takes every banner off the screen at once, before the lock screen shows.
Imp replaceActivateLockScreen(Brix& brix, Previous previous)
{
    return Imp::of(
        [&brix, previous](Object* self, Selector selector, bool animated, Object* animationProvider, bool automatically,
            bool inScreenOffMode, bool dimInAnimation, bool dismissNotificationCenter, Block<void()> completion) {
            postCommand(brix, command("dismissnoani"));
            (*previous)(self, selector, animated, animationProvider, automatically, inScreenOffMode, dimInAnimation,
                dismissNotificationCenter, std::move(completion));
        });
}

Imp addAttemptUpdateReply(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object* view) { updateHeldBanner(brix, self, view); });
}

// Clears the notification without feedback and without dismissing a banner.
Imp addAttemptDeleteWithoutDismissal(Brix&)
{
    return Imp::of([](Object* self, Selector) {
        performAction(self, sendIfResponds<Ref<Object>>(notificationRequest(self), SEL("clearAction")));
    });
}

} // namespace brix::controller
