#include <fstream>
#include <limits>

#include "platform/graphics/Image.h"
#include "platform/springboard/IconRenderer.h"
#include "platform/uikit/UIImage.h"

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

device::Hardware onVersion(const char* version)
{
    device::Hardware hardware;
    hardware.systemVersion = version;
    return hardware;
}

Ref<Object> hostViewOf(Object* controller)
{
    return send<Ref<Object>>(controller, SEL("view"));
}

int bannersIn(Object* host)
{
    int count = 0;
    Value subviews = send<Value>(host, SEL("subviews"));
    for (auto& view : subviews.items())
        count += runtime::classNameOf(view.object()) == "BrixContainer";
    return count;
}

std::vector<std::string> announcements(ControllerTestDevice& test)
{
    std::vector<std::string> identifiers;
    for (auto& command : test.recorder->commands) {
        if (command["command"].string() == "isExternallyDismissed")
            identifiers.push_back(command["brixIdentifier"].string());
    }
    return identifiers;
}

void installAppIcon(ControllerTestDevice& test, const std::string& bundleId)
{
    auto bitmap = graphics::Image::create(8, 8);
    ASSERT_TRUE(bitmap);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            bitmap->setPixel(x, y, { 200, 40, 40, 255 });
    }
    auto image = uikit::UIImage::make(test.runtime(), std::move(bitmap.value()));
    Value png = uikit::pngRepresentation(image.get());
    auto path = test.device().hostPath(springboard::IconRenderer::iconPath(bundleId));
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data().data()), static_cast<std::streamsize>(png.data().size()));
}

} // namespace

TEST(Attach, takesHeaderAndSubheaderFromTheTitleAndSubtitle)
{
    ControllerTestDevice test;
    auto texts = [&](const char* id, Value title, Value subtitle) {
        auto contents = test.message(id, std::move(title), "Hi");
        contents.subtitle = std::move(subtitle);
        auto banner = bannerOf(test.notify(contents));
        return std::make_pair(send<Value>(banner, SEL("originalHeader")), ivar(banner, "subHeader"));
    };
    auto [onlySubtitle, noSubheader] = texts("n1", "", "Alice");
    EXPECT_EQ(onlySubtitle, Value("Alice"));
    EXPECT_TRUE(noSubheader.isNil());

    test.post("dismissnoani");
    auto [onlyTitle, emptySubtitle] = texts("n2", "Alice", "");
    EXPECT_EQ(onlyTitle, Value("Alice"));
    EXPECT_TRUE(emptySubtitle.isNil());

    test.post("dismissnoani");
    auto [title, subtitle] = texts("n3", "Team", "Alice");
    EXPECT_EQ(title, Value("Team"));
    EXPECT_EQ(subtitle, Value("Alice"));
}

TEST(Attach, takesTheSummaryAsBodyFrom12On)
{
    auto bodyOn = [](const char* version) {
        ControllerTestDevice test({}, onVersion(version));
        auto contents = test.message("n1", "Alice", Value());
        contents.summaryText = "3 more messages";
        auto banner = bannerOf(test.notify(contents));
        EXPECT_TRUE(banner) << version;
        return ivar(banner, "originalBody");
    };
    EXPECT_EQ(bodyOn("13.2"), Value("3 more messages"));
    EXPECT_TRUE(bodyOn("11.4").isNil());
}

TEST(Attach, configuresTheBannerFromTheSettings)
{
    ControllerTestDevice test({
        { "maxLineCount", 4 },
        { "containerCornerRadius", 12 },
        { "appCornerRadius", 8 },
        { "appSize", 36 },
        { "textAlignment", 2 },
        { "topOffset", 9 },
        { "backgroundBlur", false },
        { "boldButtons", true },
        { "enableGrabber", false },
        { "24_h_clock", false },
        { "statusbar", false },
        { "headerFontSize", 17 },
        { "textFontSize", 14 },
        { "statusbarFontSize", 12 },
        { "tinyBannerFontSize", 16 },
        { "showButtons", true },
        { "appIconPfp", 2 },
        { "hide_unless_expanded", true },
        { "containerColor", 3 },
    });
    auto controller = test.notify("n1");
    auto banner = bannerOf(controller);
    ASSERT_TRUE(banner);
    EXPECT_EQ(send<Ref<Object>>(banner, SEL("delegate")).get(), static_cast<Object*>(controller.get()));
    EXPECT_EQ(send<int64_t>(banner, SEL("maxLineCount")), 4);
    EXPECT_EQ(send<int64_t>(banner, SEL("containerCornerRadius")), 12);
    EXPECT_EQ(send<int64_t>(banner, SEL("appCornerRadius")), 8);
    EXPECT_EQ(send<int64_t>(banner, SEL("appSize")), 36);
    EXPECT_EQ(send<uint64_t>(banner, SEL("textAlignment")), 2u);
    EXPECT_EQ(send<int64_t>(banner, SEL("appIconTop")), 9);
    EXPECT_EQ(send<int64_t>(banner, SEL("headerFontSize")), 17);
    EXPECT_EQ(send<int64_t>(banner, SEL("textFontSize")), 14);
    EXPECT_EQ(send<int64_t>(banner, SEL("statusbarFontSize")), 12);
    EXPECT_EQ(send<int64_t>(banner, SEL("tinyBannerFontSize")), 16);
    EXPECT_FALSE(send<bool>(banner, SEL("backgroundBlur")));
    EXPECT_TRUE(send<bool>(banner, SEL("boldButtons")));
    EXPECT_FALSE(send<bool>(banner, SEL("enableGrabber")));
    EXPECT_FALSE(send<bool>(banner, SEL("militaryClock")));
    EXPECT_FALSE(send<bool>(banner, SEL("statusbar")));
    EXPECT_TRUE(send<bool>(banner, SEL("enableButtons")));
    EXPECT_TRUE(send<bool>(banner, SEL("enablePrivacy")));
    EXPECT_TRUE(send<bool>(banner, SEL("useIconsInsteadOfGlyphs")));
    EXPECT_TRUE(send<bool>(banner, SEL("enableGlyphs")));
    EXPECT_FALSE(send<bool>(banner, SEL("tinyBanner")));
    EXPECT_FALSE(send<bool>(banner, SEL("isAlarm")));
    EXPECT_FALSE(send<bool>(banner, SEL("canReply")));
    EXPECT_EQ(send<Value>(banner, SEL("appDetailImageBundleId")), Value("com.example.chat"));
    // A fixed colour mode also fixes the controller's own style: mode 3 is dark.
    EXPECT_EQ(send<uint64_t>(send<Ref<Object>>(banner, SEL("colorSet")), SEL("mode")), 3u);
    EXPECT_EQ(send<int64_t>(controller, SEL("overrideUserInterfaceStyle")), 2);
    EXPECT_EQ(send<Value>(controller, SEL("brixIdentifier")).string().size(), 8u);
}

TEST(Attach, choosesGlyphsOrIconsByTheAppIconSetting)
{
    struct Case {
        int64_t appIconPfp;
        bool enableGlyphs;
        bool useIcons;
    };
    for (Case c : { Case { 0, false, false }, Case { 1, true, false }, Case { 2, true, true }, Case { 3, true, false },
             Case { -1, false, false } }) {
        ControllerTestDevice test({ { "appIconPfp", c.appIconPfp } });
        auto banner = bannerOf(test.notify("n1"));
        EXPECT_EQ(send<bool>(banner, SEL("enableGlyphs")), c.enableGlyphs) << c.appIconPfp;
        EXPECT_EQ(send<bool>(banner, SEL("useIconsInsteadOfGlyphs")), c.useIcons) << c.appIconPfp;
    }
}

TEST(Attach, makesTheBannerTinyWhenATextIsMissing)
{
    ControllerTestDevice test({ { "tinyBannerNoText", true } });
    EXPECT_TRUE(send<bool>(bannerOf(test.notify("n1", "", "Hi")), SEL("tinyBanner")));
    test.post("dismissnoani");
    EXPECT_FALSE(send<bool>(bannerOf(test.notify("n2", "Alice", "Hi")), SEL("tinyBanner")));
    test.post("dismissnoani");
    EXPECT_TRUE(send<bool>(bannerOf(test.notify("n3", "Alice", Value())), SEL("tinyBanner")));
}

TEST(Attach, configuresAnAlarmWithSnoozeAndStop)
{
    ControllerTestDevice test({ { "showButtons", false } });
    auto contents = test.message("n1", "Alarm", "7:00", "com.apple.mobiletimer");
    contents.closeAction = test.action("stop");
    contents.supplementaryActions
        = Value::Dictionary { { "a", Value::Array { Value(test.action("MTAlarmSnoozeAction")) } },
              { "b", Value::Array { Value(test.action("reply")) } } };
    auto banner = bannerOf(test.notify(contents));
    EXPECT_TRUE(send<bool>(banner, SEL("isAlarm")));
    EXPECT_TRUE(send<bool>(banner, SEL("isSnoozable")));
    EXPECT_TRUE(send<bool>(banner, SEL("enableButtons")));
    EXPECT_FALSE(send<bool>(banner, SEL("canReply")));
}

TEST(Attach, schedulesTheAutomaticDismissalAfterTimeToDismiss)
{
    for (int64_t seconds : { int64_t(0), int64_t(-3) }) {
        ControllerTestDevice test({ { "timeToDismiss", seconds } });
        auto controller = test.notify("n1");
        EXPECT_FALSE(flag(controller, "dismissCalled"));
        test.runDue();
        EXPECT_TRUE(flag(controller, "autoDimissTriggered")) << seconds;
        EXPECT_TRUE(flag(controller, "isDismissing")) << seconds;
    }
    ControllerTestDevice test({ { "timeToDismiss", 4 } });
    auto controller = test.notify("n1");
    test.advance(3.9);
    EXPECT_FALSE(flag(controller, "dismissCalled"));
    test.advance(0.1);
    EXPECT_TRUE(flag(controller, "isDismissing"));
}

TEST(Attach, aTimeBeyondTheClocksRangeNeverDismisses)
{
    // Nanoseconds of these overflow 64 bits; they must neither crash nor fire early.
    for (int64_t seconds : { int64_t(9'223'372'037), std::numeric_limits<int64_t>::max() }) {
        ControllerTestDevice test({ { "timeToDismiss", seconds } });
        auto controller = test.notify("n1");
        test.advance(100000);
        EXPECT_FALSE(flag(controller, "dismissCalled")) << seconds;
        EXPECT_TRUE(bannerOf(controller)) << seconds;
    }
}

TEST(Attach, whileABannerIsHeldTheHostStaysEmptyButTheControllerIsAnnounced)
{
    ControllerTestDevice test;
    test.setHoldFlag(false);
    auto controller = test.notify("n1");
    ASSERT_TRUE(controller);
    EXPECT_FALSE(bannerOf(controller));
    EXPECT_EQ(send<Value>(hostViewOf(controller), SEL("subviews")).count(), 0u);
    EXPECT_FALSE(test.holdFlag());
    Value identifier = send<Value>(controller, SEL("brixIdentifier"));
    ASSERT_EQ(identifier.string().size(), 8u);
    for (char letter : identifier.string())
        EXPECT_TRUE(letter >= 'a' && letter <= 'z');
    EXPECT_TRUE(announcements(test).empty());
    test.runDue();
    EXPECT_EQ(announcements(test), std::vector<std::string> { identifier.string() });
}

TEST(Attach, aSecondMoveOfTheHostLeavesTheBannerAlone)
{
    ControllerTestDevice test;
    auto controller = test.notify("n1");
    auto banner = bannerOf(controller);
    auto host = hostViewOf(controller);
    send(host, SEL("didMoveToSuperview"));
    EXPECT_EQ(bannerOf(controller), banner);
    EXPECT_EQ(bannersIn(host), 1);

    // Without its banner, the controller gets a new one but keeps its identifier, unannounced.
    test.runDue();
    Value identifier = send<Value>(controller, SEL("brixIdentifier"));
    send(banner, SEL("removeFromSuperview"));
    send(controller, SEL("setBrixView:"), static_cast<Object*>(nullptr));
    send(host, SEL("didMoveToSuperview"));
    test.runDue();
    EXPECT_TRUE(bannerOf(controller));
    EXPECT_NE(bannerOf(controller), banner);
    EXPECT_EQ(send<Value>(controller, SEL("brixIdentifier")), identifier);
    EXPECT_EQ(announcements(test).size(), 1u);
}

TEST(Attach, movesTouchHandlingFromTheSystemViewsToTheBanner)
{
    ControllerTestDevice test;
    auto controller = test.notify("n1");
    auto host = hostViewOf(controller);
    auto banner = bannerOf(controller);
    EXPECT_EQ(ivar(host, "_gestureRecognizers").count(), 0u);
    ASSERT_TRUE(recognizerOf<uikit::UITapGestureRecognizer>(banner));
    ASSERT_TRUE(recognizerOf<uikit::UIPanGestureRecognizer>(banner));
    tap(banner);
    EXPECT_TRUE(flag(controller, "dismissCalled"));
    EXPECT_EQ(test.eventsFor("app.opened", "n1").size(), 1u);
}

TEST(Attach, usesTheAppsIconAndFallsBackToTheNotificationsOwn)
{
    ControllerTestDevice test;
    auto ownIcon = uikit::UIImage::make(test.runtime(), { 20, 20 });
    auto withOwnIcon = [&](const char* id, std::string app) {
        auto contents = test.message(id, "Alice", "Hi", std::move(app));
        contents.icons = Value::Array { Value(ownIcon) };
        auto banner = bannerOf(test.notify(contents));
        auto* image = runtime::ivarPointer<Ref<Object>>(banner, "image");
        return image ? *image : Ref<Object>();
    };
    EXPECT_EQ(withOwnIcon("n1", "com.example.chat").get(), static_cast<Object*>(ownIcon.get()));

    test.post("dismissnoani");
    installAppIcon(test, "com.example.icon");
    auto icon = withOwnIcon("n2", "com.example.icon");
    ASSERT_TRUE(icon);
    EXPECT_NE(icon.get(), static_cast<Object*>(ownIcon.get()));
    auto* image = dynamic_cast<uikit::UIImage*>(icon.get());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->path(), springboard::IconRenderer::iconPath("com.example.icon"));
}
