// A Brix banner lives inside the system's banner machinery, which keeps doing
// what it was made for. These hooks keep that machinery out of the way of a
// banner, or bend it to the banner's needs; everything that is not part of a
// banner passes through untouched.

#include <array>

#include "platform/uikit/Geometry.h"

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

    struct PictureProvider {
        std::string_view bundleId;
        bool Settings::*enabled;
        std::string_view className;
    };

    // The first row whose app matches and whose setting is on chooses the provider.
    constexpr std::array<PictureProvider, 9> pictureProviders { {
        { "net.whatsapp.WhatsApp", &Settings::enableWhatsApp, "BrixWhatsAppContactPhotoProvider" },
        { "net.whatsapp.WhatsAppSMB", &Settings::enableWhatsApp, "BrixWhatsAppContactPhotoProvider" },
        { "com.apple.MobileSMS", &Settings::enableMessages, "BrixMessagesContactPhotoProvider" },
        { "com.atebits.Tweetie2", &Settings::enableTwitter, "BrixTwitterContactPhotoProvider" },
        { "com.tinyspeck.chatlyio", &Settings::enableSlack, "BrixSlackContactPhotoProvider" },
        { "com.hammerandchisel.discord", &Settings::enableDiscord, "BrixDiscordContactPhotoProvider" },
        { "com.burbn.instagram", &Settings::enableInstagram, "BrixInstagramContactPhotoProvider" },
        { "com.facebook.Messenger", &Settings::enableMessenger, "BrixMessengerContactPhotoProvider" },
        { "ph.telegra.Telegraph", &Settings::enableTelegram, "BrixTelegramContactPhotoProvider" },
    } };

    bool isPartOfBanner(Object* controller)
    {
        return sendIfResponds<bool>(controller, SEL("isPartOfBanner"));
    }

    Ref<Object> defaultCenter(runtime::Runtime& runtime)
    {
        return send<Ref<Object>>(runtime.classNamed("NSNotificationCenter"), SEL("defaultCenter"));
    }

    std::string_view providerClassFor(const Settings& settings, const Value& bundleId)
    {
        if (!bundleId.isString())
            return {};
        for (const PictureProvider& row : pictureProviders) {
            if (row.bundleId == bundleId.string() && settings.*row.enabled)
                return row.className;
        }
        return {};
    }

    // Hands the new banner to the picture provider of its app; the provider lives
    // only as long as its own pending work holds it.
    void dispatchProfilePicture(Brix& brix, Object* controller, const Value& header, const Value& body, Object* banner)
    {
        if (!brix.settings().enablePfps)
            return;
        auto className = providerClassFor(brix.settings(), send<Value>(controller, SEL("getBundleId")));
        if (className.empty())
            return;
        auto provider = runtime::newObject(brix.runtime().classNamed(className));
        sendIfResponds(provider, SEL("contactPhotoForNotification:withHeader:withBody:forView:"),
            notificationRequest(controller).get(), header, body, banner);
    }

    void followScreenStyle(Brix& brix, Object* controller, Object* previousTraits)
    {
        auto banner = brixView(controller);
        if (!banner || !systemIsAtLeast(brix, "13.0") || brix.settings().interfaceMode != 0)
            return;
        int64_t style = screenStyle(brix);
        if (style == sendIfResponds<int64_t>(previousTraits, SEL("userInterfaceStyle")))
            return;
        sendIfResponds(banner, SEL("updateColorMode:"), makeColorSet(brix, style == 2 ? 1 : 2).get());
    }

    // The system's answer to Brix's own dismissal; it does not keep the controller alive.
    Block<void(bool)> systemDismissalCompletion(Object* controller)
    {
        return [weak = WeakRef<Object>(controller)](bool finished) {
            Ref<Object> controller = weak.strong();
            if (!controller)
                return;
            setFlag(controller, Flag::HasDismissed, finished);
            if (!finished)
                setFlag(controller, Flag::IsDismissing, false);
        };
    }

} // namespace

Imp replaceContentUserInteractionEnabled(Brix&, Previous)
{
    return Imp::of([](Object*, Selector) { return true; });
}

// The reply field lives in the banner window, which must be able to take the keyboard.
Imp replaceCanBecomeKeyWindow(Brix&, Previous)
{
    return Imp::of([](Object*, Selector) { return true; });
}

Imp replaceViewDidLoad(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        (*previous)(self, selector);
        resetFlags(self);
        send(defaultCenter(brix.runtime()), SEL("addObserver:selector:name:object:"), self,
            SEL("receivedBrixNotification:"), Value(commandNotificationName), static_cast<Object*>(nullptr));
    });
}

// The class's own run time is used here, since a controller may go after the plug-in's state.
Imp replaceDealloc(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector) {
        send(defaultCenter(self->isa()->runtime()), SEL("removeObserver:name:object:"), self,
            Value(commandNotificationName), static_cast<Object*>(nullptr));
        (*previous)(self, selector);
    });
}

Imp replaceTraitCollectionDidChange(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector, Object* previousTraits) {
        (*previous)(self, selector, previousTraits);
        followScreenStyle(brix, self, previousTraits);
    });
}

Imp addUpdateProfilePicture(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Value header, Value body, Object* banner) {
        dispatchProfilePicture(brix, self, header, body, banner);
    });
}

// Only Brix's own dismissal of a banner reaches the system; the system's own
// attempts are dropped, and so are their completions.
Imp replaceDismissViewControllerWithTransition(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector, int64_t transition, Block<void(bool)> completion) {
        if (!isPartOfBanner(self)) {
            (*previous)(self, selector, transition, std::move(completion));
            return;
        }
        if (transition != brixTransition)
            return;
        (*previous)(self, selector, int64_t { 0 }, systemDismissalCompletion(self));
    });
}

Imp replacePresentLongLookForScroll(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector, bool animated, Block<void(bool)> completion) {
        if (!isPartOfBanner(self))
            (*previous)(self, selector, animated, std::move(completion));
    });
}

Imp replacePresentLongLookViaClick(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector, Object* interaction) {
        if (!isPartOfBanner(self))
            (*previous)(self, selector, interaction);
    });
}

Imp replacePresentLongLook(Brix&, Previous previous)
{
    return Imp::of(
        [previous](Object* self, Selector selector, bool animated, int64_t trigger, Block<void(bool)> completion) {
            if (!isPartOfBanner(self))
                (*previous)(self, selector, animated, trigger, std::move(completion));
        });
}

// While the user holds a banner open, a newer notification presented over it
// becomes an update of the open banner instead.
Imp replacePresentViewController(Brix& brix, Previous previous)
{
    return Imp::of(
        [&brix, previous](Object* self, Selector selector, Object* presented, bool animated, Block<void()> completion) {
            if (!isPartOfBanner(self) || holdFlag(brix)) {
                (*previous)(self, selector, presented, animated, std::move(completion));
                return;
            }
            auto view = sendIfResponds<Ref<Object>>(presented, SEL("view"));
            sendIfResponds(self, SEL("attemptUpdateReply:"), view.get());
        });
}

Imp replaceStatusBarWindowInitWithFrame(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector, uikit::Rect frame) {
        auto window = (*previous).operator()<Ref<Object>>(self, selector, frame);
        brix.recordStatusBarWindow(window.get());
        return window;
    });
}

Imp addBrixSharedWindow(Brix& brix)
{
    return Imp::of([&brix](Object*, Selector) { return Ref<Object>(brix.sharedStatusBarWindow()); });
}

} // namespace brix::controller
