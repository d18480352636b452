#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"

#include "tests/support/BrixDevice.h"

namespace bannertest {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::Rect;

// What the banner controller would set on a new banner, with the settings'
// defaults. Tests change what they are about.
struct BannerOptions {
    bool isAlarm { false };
    bool isSnoozable { false };
    bool enableButtons { false };
    int64_t maxLineCount { 2 };
    bool canReply { false };
    uint64_t colorMode { 2 };
    int64_t containerCornerRadius { 30 };
    int64_t appCornerRadius { 20 };
    bool tinyBanner { false };
    bool backgroundBlur { true };
    int64_t headerFontSize { 15 };
    int64_t textFontSize { 13 };
    int64_t tinyBannerFontSize { 15 };
    int64_t appIconTop { 15 };
    bool militaryClock { true };
    bool statusbar { true };
    int64_t appSize { 40 };
    bool boldButtons { false };
    Value bundleId { "net.whatsapp.WhatsApp" };
    bool useIconsInsteadOfGlyphs { false };
    bool enableGlyphs { true };
    bool enableGrabber { true };
    bool enablePrivacy { false };
    uint64_t textAlignment { 0 };
    int64_t statusbarFontSize { 15 };
};

// The banner's delegate: records the four operations it is sent.
class RecordingDelegate : public runtime::NSObject {
public:
    using NSObject::NSObject;

    struct Call {
        std::string operation;
        Object* view;
        uint64_t action { 0 };
        std::string text {};
    };
    std::vector<Call> calls;
};

inline void defineRecordingDelegate(runtime::Runtime& runtime)
{
    if (runtime.classNamed("BannerTestDelegate"))
        return;
    using runtime::Imp;
    using runtime::Selector;
    runtime::ClassBuilder::define<RecordingDelegate>(runtime, "BannerTestDelegate", "NSObject")
        .method("attemptDelete:", Imp::of([](RecordingDelegate* self, Selector, Object* view) {
            self->calls.push_back({ "delete", view });
        }))
        .method("forceDismissNotificationForView:", Imp::of([](RecordingDelegate* self, Selector, Object* view) {
            self->calls.push_back({ "dismiss", view });
        }))
        .method("executeOnAlarmForView:action:",
            Imp::of([](RecordingDelegate* self, Selector, Object* view, uint64_t action) {
                self->calls.push_back({ "alarm", view, action });
            }))
        .method("sendReplyForView:withText:",
            Imp::of([](RecordingDelegate* self, Selector, Object* view, const Value& text) {
                self->calls.push_back({ "reply", view, 0, text.string() });
            }));
}

// A home screen with Brix loaded, a key window filling the screen and, in
// it, a host view standing in for the system's notification view.
class BannerScene {
public:
    explicit BannerScene(device::Hardware hardware = {})
        : m_device(hardware)
        , m_home(m_device.launch("com.apple.springboard"))
    {
        defineRecordingDelegate(runtime());
        m_window = makeView("UIWindow", uikit::makeRect(0, 0, hardware.screenWidth, hardware.screenHeight));
        send(m_window, "makeKeyAndVisible");
        m_host = makeView("UIView", uikit::makeRect(0, 0, hardware.screenWidth, 100));
        send(m_window, "addSubview:", m_host);
        m_delegate = runtime::newObject(runtime().classNamed("BannerTestDelegate"));
    }

    device::Device& device() { return m_device.device(); }
    device::Process& home() { return m_home; }
    runtime::Runtime& runtime() { return m_home.runtime(); }
    const Ref<Object>& host() const { return m_host; }
    const Ref<Object>& window() const { return m_window; }
    RecordingDelegate& delegate() { return *dynamic_cast<RecordingDelegate*>(m_delegate.get()); }

    // Removes the installed asset bundle, as if it had never been installed.
    void removeAssetBundle()
    {
        std::filesystem::remove_all(m_device.root() / "Library/Application Support/Brix/Assets.bundle");
    }

    Ref<Object> makeView(const char* className, Rect frame)
    {
        return send<Ref<Object>>(runtime::alloc(runtime().classNamed(className)), "initWithFrame:", frame);
    }

    Ref<Object> makeColors(uint64_t mode)
    {
        return send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixColors")), "initWithMode:", mode);
    }

    Ref<Object> makeImage(double side = 60) { return uikit::UIImage::make(runtime(), { side, side }, 3); }

    // A new banner, configured in the order the banner controller uses.
    Ref<Object> makeBanner(const Value& header, const Value& subHeader, const Value& body,
        const BannerOptions& options = {}, Object* image = nullptr)
    {
        auto banner = send<Ref<Object>>(runtime::alloc(runtime().classNamed("BrixContainer")),
            "initWithUIImage:andHeader:andSubHeader:andBody:", image, header, subHeader, body);
        send(banner, "setDelegate:", m_delegate);
        send(banner, "setIsAlarm:", options.isAlarm);
        send(banner, "setIsSnoozable:", options.isSnoozable);
        send(banner, "setEnableButtons:", options.enableButtons);
        send(banner, "setMaxLineCount:", options.maxLineCount);
        send(banner, "setCanReply:", options.canReply);
        send(banner, "setColorSet:", makeColors(options.colorMode));
        send(banner, "setContainerCornerRadius:", options.containerCornerRadius);
        send(banner, "setAppCornerRadius:", options.appCornerRadius);
        send(banner, "setTinyBanner:", options.tinyBanner);
        send(banner, "setBackgroundBlur:", options.backgroundBlur);
        send(banner, "setHeaderFontSize:", options.headerFontSize);
        send(banner, "setTextFontSize:", options.textFontSize);
        send(banner, "setTinyBannerFontSize:", options.tinyBannerFontSize);
        send(banner, "setAppIconTop:", options.appIconTop);
        send(banner, "setMilitaryClock:", options.militaryClock);
        send(banner, "setStatusbar:", options.statusbar);
        send(banner, "setAppSize:", options.appSize);
        send(banner, "setBoldButtons:", options.boldButtons);
        send(banner, "setAppDetailImageBundleId:", options.bundleId);
        send(banner, "setUseIconsInsteadOfGlyphs:", options.useIconsInsteadOfGlyphs);
        send(banner, "setEnableGlyphs:", options.enableGlyphs);
        send(banner, "setEnableGrabber:", options.enableGrabber);
        send(banner, "setEnablePrivacy:", options.enablePrivacy);
        send(banner, "setTextAlignment:", options.textAlignment);
        send(banner, "setStatusbarFontSize:", options.statusbarFontSize);
        return banner;
    }

    // Puts the banner into the host view, which lays it out, and solves the layout.
    void show(const Ref<Object>& banner)
    {
        send(m_host, "addSubview:", banner);
        send(m_window, "layoutIfNeeded");
    }

    Ref<Object> showBanner(const Value& header, const Value& subHeader, const Value& body,
        const BannerOptions& options = {}, Object* image = nullptr)
    {
        auto banner = makeBanner(header, subHeader, body, options, image);
        show(banner);
        return banner;
    }

    // Runs the device clock forward, bounded by a task count.
    bool advance(double seconds) { return device().scheduler().advance(seconds, 10000); }

    static Ref<Object> field(Object* banner, const char* name)
    {
        auto* pointer = runtime::ivarPointer<Ref<Object>>(banner, name);
        return pointer ? *pointer : Ref<Object>();
    }
    static uikit::UILabel* label(Object* banner, const char* getter)
    {
        return dynamic_cast<uikit::UILabel*>(send<Ref<Object>>(banner, getter).get());
    }
    static uikit::UILabel* labelField(Object* banner, const char* name)
    {
        return dynamic_cast<uikit::UILabel*>(field(banner, name).get());
    }
    static Rect frame(Object* view) { return send<Rect>(view, "frame"); }
    static std::vector<Object*> subviews(Object* view)
    {
        std::vector<Object*> result;
        Value views = send<Value>(view, "subviews");
        for (auto& item : views.items())
            result.push_back(item.object());
        return result;
    }
    static bool isHidden(Object* view) { return send<bool>(view, "isHidden"); }
    static double alpha(Object* view) { return send<double>(view, "alpha"); }
    static uikit::CALayer* layerOf(Object* view)
    {
        return dynamic_cast<uikit::CALayer*>(send<Ref<Object>>(view, "layer").get());
    }

    // The ranges of a label's text drawn in a bold font, as [location, length].
    static std::vector<std::pair<uint64_t, uint64_t>> boldRanges(uikit::UILabel* label)
    {
        std::vector<std::pair<uint64_t, uint64_t>> ranges;
        auto attributed = label->attributedText();
        if (!attributed)
            return ranges;
        for (auto& run : attributed->attributeRuns()) {
            auto* font = dynamic_cast<uikit::UIFont*>(run.value.object());
            if (run.name == "NSFont" && font && font->isBold())
                ranges.emplace_back(run.range.location, run.range.length);
        }
        return ranges;
    }

private:
    BrixDevice m_device;
    device::Process& m_home;
    Ref<Object> m_window;
    Ref<Object> m_host;
    Ref<Object> m_delegate;
};

inline uikit::UIColor* colorOf(const Ref<Object>& color)
{
    return dynamic_cast<uikit::UIColor*>(color.get());
}

// Colours compare by their components.
inline void expectColor(
    uikit::UIColor* color, double red, double green, double blue, double alpha, const char* what = "")
{
    ASSERT_NE(color, nullptr) << what;
    EXPECT_NEAR(color->red(), red, 1e-9) << what;
    EXPECT_NEAR(color->green(), green, 1e-9) << what;
    EXPECT_NEAR(color->blue(), blue, 1e-9) << what;
    EXPECT_NEAR(color->alpha(), alpha, 1e-9) << what;
}

} // namespace bannertest
