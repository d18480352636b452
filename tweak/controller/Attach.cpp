// The moment a system notification banner becomes a Brix banner: when the
// system moves the notification's host view into a superview, the host's
// content is replaced by a BrixContainer built from the notification.

#include <limits>
#include <optional>
#include <unicode/unistr.h>

#include "platform/foundation/Digest.h"
#include "platform/uikit/UIImage.h"

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"
#include "tweak/pfp/ParentViewController.h"
#include "tweak/pfp/StringHelpers.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    // The digest of the JPEG encoding of the icon the system draws for an app it has no icon for.
    constexpr std::string_view genericIconDigest = "543507683f16c45f72e8acbaa3827cbc";
    constexpr int identifierLength = 8;

    struct BannerTexts {
        Value header;
        Value subheader;
        Value body;
    };

    // A copy made through the text's UTF-16 form, as the banner receives every text.
    Value utf16Copy(const Value& text)
    {
        if (!text.isString())
            return text;
        std::string copy;
        icu::UnicodeString::fromUTF8(text.string()).toUTF8String(copy);
        return Value(std::move(copy));
    }

    BannerTexts textsOf(Brix& brix, Object* content)
    {
        Value primary = sendIfResponds<Value>(content, SEL("primaryText"));
        Value subtitle = sendIfResponds<Value>(content, SEL("primarySubtitleText"));
        BannerTexts texts;
        if (isPresent(primary))
            texts.header = primary;
        else if (isPresent(subtitle))
            texts.header = subtitle;
        if (isPresent(primary) && isPresent(subtitle))
            texts.subheader = subtitle;
        texts.body = bodyOf(brix, content);
        return { utf16Copy(texts.header), utf16Copy(texts.subheader), utf16Copy(texts.body) };
    }

    // Gives the controller its identifier once and announces it to every other
    // banner on the next turn of the main queue, after this attach has finished.
    void identify(Brix& brix, Object* controller)
    {
        if (!send<Value>(controller, SEL("brixIdentifier")).isNil())
            return;
        Value identifier(pfp::generateRandomString(identifierLength));
        send(controller, SEL("setBrixIdentifier:"), identifier);
        Value announcement = command("isExternallyDismissed");
        announcement.set("brixIdentifier", identifier);
        brix.process().mainQueue().async([&brix, announcement] { postCommand(brix, announcement); });
    }

    Ref<Object> chooseColorSet(Brix& brix, Object* controller)
    {
        int64_t interfaceMode = brix.settings().interfaceMode;
        if (!systemIsAtLeast(brix, "13.0"))
            return makeColorSet(brix, static_cast<uint64_t>(interfaceMode != 0 ? interfaceMode : 2));
        if (interfaceMode == 0)
            return makeColorSet(brix, screenStyle(brix) == 2 ? 1 : 2);
        auto colors = makeColorSet(brix, static_cast<uint64_t>(interfaceMode));
        uint64_t mode = send<uint64_t>(colors, SEL("mode"));
        int64_t style = (mode == 1 || mode == 3) ? 2 : 1;
        send(controller, SEL("setOverrideUserInterfaceStyle:"), style);
        return colors;
    }

    bool isGenericIcon(Object* icon)
    {
        if (!icon)
            return true;
        Value jpeg = uikit::jpegRepresentation(icon, 100);
        return jpeg.isData() && foundation::md5Hex(jpeg.data()) == genericIconDigest;
    }

    // The app's icon from the system's renderer, or the notification's own icon
    // when the app's is missing or generic.
    Ref<Object> iconFor(Brix& brix, Object* controller, Object* content)
    {
        Value bundleId = send<Value>(controller, SEL("getBundleId"));
        auto* imageClass = brix.runtime().classNamed("UIImage");
        Ref<Object> icon;
        for (int64_t format : { 8, 2, 0 }) {
            icon = sendIfResponds<Ref<Object>>(
                imageClass, SEL("_applicationIconImageForBundleIdentifier:format:"), bundleId, format);
            if (icon)
                break;
        }
        if (!isGenericIcon(icon))
            return icon;
        Value icons = sendIfResponds<Value>(content, SEL("icons"));
        if (icons.count() > 0)
            return icons[0].object();
        return icon;
    }

    bool isTiny(const Settings& settings, const BannerTexts& texts)
    {
        if (settings.tinyBanner)
            return true;
        return settings.tinyBannerNoText && (texts.body.isEmptyText() || texts.header.isEmptyText());
    }

    // The banner's properties, in the order the banner expects them.
    void configure(Brix& brix, Object* banner, Object* controller, Object* colors, const BannerTexts& texts)
    {
        const Settings& settings = brix.settings();
        send(banner, SEL("setDelegate:"), controller);
        send(banner, SEL("setIsAlarm:"), send<bool>(controller, SEL("isAlarm")));
        send(banner, SEL("setIsSnoozable:"), send<Value>(controller, SEL("getAlarmActions")).count() == 2);
        send(banner, SEL("setEnableButtons:"), settings.showButtons || send<bool>(banner, SEL("isAlarm")));
        send(banner, SEL("setMaxLineCount:"), settings.maxLineCount);
        send(banner, SEL("setCanReply:"),
            send<bool>(controller, SEL("canReply")) && !send<bool>(banner, SEL("isAlarm")));
        send(banner, SEL("setColorSet:"), colors);
        send(banner, SEL("setContainerCornerRadius:"), settings.containerCornerRadius);
        send(banner, SEL("setAppCornerRadius:"), settings.appCornerRadius);
        send(banner, SEL("setTinyBanner:"), isTiny(settings, texts));
        send(banner, SEL("setBackgroundBlur:"), settings.backgroundBlur);
        send(banner, SEL("setHeaderFontSize:"), settings.headerFontSize);
        send(banner, SEL("setTextFontSize:"), settings.textFontSize);
        send(banner, SEL("setTinyBannerFontSize:"), settings.tinyBannerFontSize);
        send(banner, SEL("setAppIconTop:"), settings.topOffset);
        send(banner, SEL("setMilitaryClock:"), settings.militaryClock);
        send(banner, SEL("setStatusbar:"), settings.statusbar);
        send(banner, SEL("setAppSize:"), settings.appSize);
        send(banner, SEL("setBoldButtons:"), settings.boldButtons);
        send(banner, SEL("setAppDetailImageBundleId:"), send<Value>(controller, SEL("getBundleId")));
        send(banner, SEL("setUseIconsInsteadOfGlyphs:"), settings.appIconPfp == 2);
        send(banner, SEL("setEnableGlyphs:"), settings.appIconPfp > 0);
        send(banner, SEL("setEnableGrabber:"), settings.enableGrabber);
        send(banner, SEL("setEnablePrivacy:"), settings.hideUnlessExpanded);
        send(banner, SEL("setTextAlignment:"), static_cast<uint64_t>(settings.textAlignment));
        send(banner, SEL("setStatusbarFontSize:"), settings.statusbarFontSize);
    }

    // The delay of the automatic dismissal. A number of seconds whose count of
    // nanoseconds leaves the clock's signed 64-bit range means never, as a
    // dispatch time saturates to "forever"; a negative one means the next turn.
    std::optional<double> automaticDismissalDelay(int64_t seconds)
    {
        constexpr int64_t nanosecondsPerSecond = 1'000'000'000;
        if (seconds > std::numeric_limits<int64_t>::max() / nanosecondsPerSecond)
            return std::nullopt;
        return static_cast<double>(std::max<int64_t>(seconds, 0));
    }

    // The timer holds the controller until it fires.
    void scheduleAutomaticDismissal(Brix& brix, Object* controller)
    {
        auto delay = automaticDismissalDelay(brix.settings().timeToDismiss);
        if (!delay)
            return;
        Ref<Object> held(controller);
        brix.process().mainQueue().after(*delay, [held] { automaticDismissalDidFire(held.get()); });
    }

    void removeGestureRecognizers(Object* view)
    {
        auto* recognizers = runtime::ivarPointer<Value>(view, "_gestureRecognizers");
        if (!recognizers)
            return;
        Value copy = *recognizers;
        for (auto& recognizer : copy.items())
            send(view, SEL("removeGestureRecognizer:"), recognizer.object());
    }

    void addRecognizer(Brix& brix, Object* banner, std::string_view className, Object* target, Selector action)
    {
        auto recognizer = send<Ref<Object>>(
            runtime::alloc(brix.runtime().classNamed(className)), SEL("initWithTarget:action:"), target, action);
        send(banner, SEL("addGestureRecognizer:"), recognizer.get());
    }

    // The system's touch handling leaves the host and content views; the banner takes taps and drags.
    void moveTouchHandling(Brix& brix, Object* host, Object* content, Object* banner, Object* controller)
    {
        removeGestureRecognizers(host);
        removeGestureRecognizers(content);
        addRecognizer(brix, banner, "UITapGestureRecognizer", controller, SEL("_handleTapOnView:"));
        addRecognizer(brix, banner, "UIPanGestureRecognizer", controller, SEL("panGestureHandler:"));
    }

    Ref<Object> buildBanner(Brix& brix, Object* controller, Object* content, Object* colors, const BannerTexts& texts)
    {
        auto icon = iconFor(brix, controller, content);
        auto banner = send<Ref<Object>>(runtime::alloc(brix.runtime().classNamed("BrixContainer")),
            SEL("initWithUIImage:andHeader:andSubHeader:andBody:"), icon.get(), texts.header, texts.subheader,
            texts.body);
        configure(brix, banner, controller, colors, texts);
        return banner;
    }

    bool isBannerControllerWithoutBanner(Object* controller)
    {
        return sendIfResponds<bool>(controller, SEL("isPartOfBanner"))
            && runtime::respondsToSelector(controller, SEL("brixView")) && !brixView(controller);
    }

    void attach(Brix& brix, Object* host)
    {
        auto content = sendIfResponds<Ref<Object>>(host, SEL("contentView"));
        auto controller = pfp::parentViewController(host);
        if (!isBannerControllerWithoutBanner(controller))
            return;
        identify(brix, controller);
        auto colors = chooseColorSet(brix, controller);
        send(content, SEL("removeFromSuperview"));
        if (!holdFlag(brix))
            return;
        setHoldFlag(brix, send<bool>(controller, SEL("shouldAutoDismiss")));

        BannerTexts texts = textsOf(brix, content);
        auto banner = buildBanner(brix, controller, content, colors, texts);
        send(host, SEL("addSubview:"), banner.get());
        send(controller, SEL("updateProfilePictureWithHeader:withBody:forView:"), texts.header, texts.body,
            banner.get());
        setBrixView(controller, banner);
        resetFlags(controller);
        scheduleAutomaticDismissal(brix, controller);
        moveTouchHandling(brix, host, content, banner, controller);
    }

} // namespace

Imp replaceDidMoveToSuperview(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        (*previous)(self, selector);
        attach(brix, self);
    });
}

} // namespace brix::controller
