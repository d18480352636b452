// The one broadcast that connects banner controllers with each other and with
// the system events that concern banners: "BrixNotification" on the
// process's default notification center, whose user info is a command
// dictionary. Every banner controller listens from its viewDidLoad to its
// dealloc; one that never attached a banner has no identifier and ignores it.

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;
using runtime::WeakRef;

namespace {

    // How long a replaced banner stays before it slides out.
    constexpr double replacedBannerDelay = 0.5;

    void forceDismissBanner(Object* controller)
    {
        send(controller, SEL("forceDismissNotificationForView:"), brixView(controller).get());
    }

    void dismissWithoutAnimation(Brix& brix, Object* controller)
    {
        setHoldFlag(brix, true);
        if (auto banner = brixView(controller)) {
            send(banner, SEL("removeFromSuperview"));
            setBrixView(controller, nullptr);
        }
        sendIfResponds(controller, SEL("dismissViewControllerWithTransition:completion:"), brixTransition,
            runtime::Block<void(bool)> {});
    }

    void updateReply(Object* controller, const Value& command)
    {
        if (bannerTakesUpdate(controller, command))
            sendIfResponds(brixView(controller), SEL("updateBannerForContinuousNotification:"), command["body"]);
    }

    // Another banner has arrived: this one leaves half a second later, unless it
    // is leaving already by then. The delayed step does not keep the controller alive.
    void replacedByNewerBanner(Brix& brix, Object* controller, const Value& identifier, const Value& command)
    {
        if (command["brixIdentifier"] == identifier)
            return;
        if (flag(controller, Flag::WasExternallyDismissed))
            return;
        setFlag(controller, Flag::WasExternallyDismissed, true);
        brix.process().mainQueue().after(replacedBannerDelay, [weak = WeakRef<Object>(controller)] {
            Ref<Object> controller = weak.strong();
            if (!controller || flag(controller, Flag::IsDismissing) || flag(controller, Flag::DismissCalled))
                return;
            if (runtime::respondsToSelector(controller, SEL("forceDismissNotificationForView:")))
                forceDismissBanner(controller);
        });
    }

    // Every banner controller hears every command, however long ago its
    // banner went, so the cheapest reads come first: an announcement of a
    // newer banner means nothing to a controller that was replaced already,
    // and it needs no more than its flag to know it. The identifier is read once.
    void receive(Brix& brix, Object* controller, Object* notification)
    {
        Value command = sendIfResponds<Value>(notification, SEL("userInfo"));
        const std::string& word = command["command"].string();
        bool announcement = word == "isExternallyDismissed";
        if (announcement && flag(controller, Flag::WasExternallyDismissed))
            return;
        Value identifier = sendIfResponds<Value>(controller, SEL("brixIdentifier"));
        if (identifier.isNil())
            return;
        Value name = sendIfResponds<Value>(notification, SEL("name"));
        if (!name.isString() || name.string() != commandNotificationName)
            return;
        if (word == "dismiss")
            forceDismissBanner(controller);
        else if (word == "dismissnoani")
            dismissWithoutAnimation(brix, controller);
        else if (word == "updateReply")
            updateReply(controller, command);
        else if (announcement)
            replacedByNewerBanner(brix, controller, identifier, command);
    }

} // namespace

// A newer notification of the same conversation continues the text of an
// answerable banner: its header must equal the banner's original one exactly.
bool bannerTakesUpdate(Object* controller, const Value& command)
{
    auto banner = brixView(controller);
    if (!banner || !sendIfResponds<bool>(banner, SEL("canReply")))
        return false;
    auto headerLabel = sendIfResponds<Ref<Object>>(banner, SEL("headerLabel"));
    if (sendIfResponds<Value>(headerLabel, SEL("text")).isNil())
        return false;
    const Value& header = command["header"];
    if (header.isNil() || command["body"].isNil())
        return false;
    return sendIfResponds<Value>(banner, SEL("originalHeader")) == header;
}

Imp addReceivedBrixNotification(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object* notification) { receive(brix, self, notification); });
}

} // namespace brix::controller
