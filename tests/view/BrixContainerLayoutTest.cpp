#include "platform/uikit/UIView.h"

#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

constexpr double tolerance = 0.01;

device::Hardware onVersion(const char* version)
{
    device::Hardware hardware;
    hardware.systemVersion = version;
    return hardware;
}

std::optional<int64_t> blurStyleOf(Object* view)
{
    auto* uiView = dynamic_cast<uikit::UIView*>(view);
    return uiView ? uiView->blurStyle() : std::nullopt;
}

} // namespace

TEST(BrixContainerLayout, nothingIsBuiltBeforeTheBannerHasASuperview)
{
    BannerScene scene;
    auto banner = scene.makeBanner("Alice", nullptr, "Hi");
    EXPECT_TRUE(BannerScene::subviews(banner).empty());
    EXPECT_FALSE(send<Ref<Object>>(banner, "headerLabel"));

    scene.show(banner);
    size_t built = BannerScene::subviews(banner).size();
    EXPECT_GT(built, 0u);
    send(banner, "removeFromSuperview");
    EXPECT_EQ(BannerScene::subviews(banner).size(), built) << "leaving the superview builds nothing";
}

// The view tree of a full banner: views in the order they are added, the
// blur and the backdrop sent to the back.
TEST(BrixContainerLayout, fullBannerWithSubheaderHasEveryViewInOrder)
{
    BannerScene scene;
    BannerOptions options;
    options.enableButtons = true;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", "Project", "Hi there", options, scene.makeImage());

    auto hostViews = BannerScene::subviews(scene.host());
    ASSERT_EQ(hostViews.size(), 2u);
    EXPECT_EQ(hostViews[0], BannerScene::field(banner, "keyboardBackdrop").get());
    EXPECT_EQ(hostViews[1], banner.get());

    auto views = BannerScene::subviews(banner);
    std::vector<Object*> expected {
        BannerScene::field(banner, "clockLabel"),
        BannerScene::field(banner, "nowLabel"),
        BannerScene::field(banner, "appIV"),
        BannerScene::field(banner, "appDetailImage"),
        send<Ref<Object>>(banner, "headerLabel"),
        send<Ref<Object>>(banner, "subHeaderLabel"),
        send<Ref<Object>>(banner, "bodyLabel"),
        BannerScene::field(banner, "grabberView"),
        BannerScene::field(banner, "buttonStackView"),
        send<Ref<Object>>(banner, "replyBg"),
        send<Ref<Object>>(banner, "reply"),
    };
    ASSERT_EQ(views.size(), expected.size() + 1) << "the banner blur comes first";
    EXPECT_EQ(blurStyleOf(views[0]), 1) << "light blur for the light set on iOS 13 and later";
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(expected[i], nullptr) << i;
        EXPECT_EQ(views[i + 1], expected[i]) << i;
    }
    EXPECT_EQ(BannerScene::label(banner, "headerLabel")->text(), Value("Alice"));
    EXPECT_EQ(BannerScene::label(banner, "subHeaderLabel")->text(), Value("Project"));
    EXPECT_EQ(BannerScene::label(banner, "bodyLabel")->text(), Value("Hi there"));
    EXPECT_EQ(BannerScene::label(banner, "bodyLabel")->numberOfLines(), 2);
}

// Every constraint of the layout, seen in the frames it gives.
TEST(BrixContainerLayout, constraintsPlaceEveryViewAndTheBannerTakesTheLeastHeight)
{
    BannerScene scene;
    BannerOptions options;
    options.enableButtons = true;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", "Project", "Hi there", options, scene.makeImage());

    Rect container = BannerScene::frame(banner);
    EXPECT_NEAR(container.minX(), 0, tolerance);
    EXPECT_NEAR(container.width(), 390, tolerance);
    EXPECT_NEAR(container.minY(), -70, tolerance);
    EXPECT_NEAR(send<double>(banner, "offset"), -70, tolerance);

    Rect clock = BannerScene::frame(BannerScene::field(banner, "clockLabel"));
    EXPECT_NEAR(clock.minX(), 25, tolerance);
    EXPECT_NEAR(clock.minY(), 44, tolerance);
    Rect now = BannerScene::frame(BannerScene::field(banner, "nowLabel"));
    EXPECT_NEAR(now.maxX(), 390 - 34, tolerance);
    EXPECT_NEAR(now.minY(), 44, tolerance);

    Rect icon = BannerScene::frame(BannerScene::field(banner, "appIV"));
    EXPECT_NEAR(icon.minX(), 15, tolerance);
    EXPECT_NEAR(icon.minY(), 44 + 15 + 15, tolerance) << "clock top + appIconTop + 15";
    EXPECT_NEAR(icon.width(), 40, tolerance);
    EXPECT_NEAR(icon.height(), 40, tolerance);

    Rect header = BannerScene::frame(send<Ref<Object>>(banner, "headerLabel"));
    Rect subHeader = BannerScene::frame(send<Ref<Object>>(banner, "subHeaderLabel"));
    Rect body = BannerScene::frame(send<Ref<Object>>(banner, "bodyLabel"));
    for (Rect text : { header, subHeader, body }) {
        EXPECT_NEAR(text.minX(), icon.maxX() + 16, tolerance);
        EXPECT_NEAR(text.maxX(), 390 - 16, tolerance);
        EXPECT_GT(text.height(), 0);
    }
    EXPECT_NEAR(header.minY(), icon.minY(), tolerance);
    EXPECT_NEAR(subHeader.minY(), header.maxY(), tolerance);
    EXPECT_NEAR(body.minY(), subHeader.maxY() + 4, tolerance);
    double lowest = std::max({ body.maxY(), icon.maxY(), header.maxY() });
    EXPECT_NEAR(container.height(), lowest + 22, tolerance) << "the least height the three constraints allow";
    EXPECT_NEAR(send<double>(banner, "height"), 22, tolerance);

    Rect grabber = BannerScene::frame(BannerScene::field(banner, "grabberView"));
    EXPECT_NEAR(grabber.minX() + grabber.width() / 2, 195, tolerance);
    EXPECT_NEAR(grabber.width(), 36, tolerance);
    EXPECT_NEAR(grabber.height(), 5.33, tolerance);
    EXPECT_NEAR(grabber.maxY(), container.height() - 6, tolerance);
    EXPECT_NEAR(BannerScene::layerOf(BannerScene::field(banner, "grabberView"))->cornerRadius(), 2.665, 1e-9);

    for (auto [name, view] : { std::pair { "buttonStackView", BannerScene::field(banner, "buttonStackView") },
             std::pair { "replyBg", send<Ref<Object>>(banner, "replyBg") } }) {
        Rect row = BannerScene::frame(view);
        EXPECT_NEAR(row.minX(), 15, tolerance) << name;
        EXPECT_NEAR(row.maxX(), 375, tolerance) << name;
        EXPECT_NEAR(row.height(), 36, tolerance) << name;
        EXPECT_GE(row.minY() + tolerance, std::max(body.maxY(), icon.maxY()) + 8) << name;
    }
    Rect replyBg = BannerScene::frame(send<Ref<Object>>(banner, "replyBg"));
    Rect reply = BannerScene::frame(send<Ref<Object>>(banner, "reply"));
    EXPECT_NEAR(reply.minX(), replyBg.minX() + 10, tolerance);
    EXPECT_NEAR(reply.maxX(), replyBg.maxX() - 10, tolerance);
    EXPECT_NEAR(reply.minY(), replyBg.minY(), tolerance);
    EXPECT_NEAR(reply.height(), replyBg.height(), tolerance);

    auto* layer = BannerScene::layerOf(banner);
    EXPECT_NEAR(layer->cornerRadius(), 30, 1e-9);
    EXPECT_TRUE(layer->continuousCorners());
    expectColor(dynamic_cast<uikit::UIColor*>(layer->backgroundColor()), 1, 1, 1, 0.3, "light background");
}

TEST(BrixContainerLayout, longBodyGrowsTheBannerAndTheGrabberMovesTheMargin)
{
    BannerScene scene;
    BannerOptions options;
    options.enableGrabber = false;
    options.maxLineCount = 0;
    std::string longBody;
    for (int i = 0; i < 12; ++i)
        longBody += "A rather long line of text that wraps. ";
    auto banner = scene.showBanner("Alice", nullptr, longBody, options);
    Rect body = BannerScene::frame(send<Ref<Object>>(banner, "bodyLabel"));
    EXPECT_GT(BannerScene::label(banner, "bodyLabel")->measuredNumberOfLines(), 3);
    EXPECT_NEAR(BannerScene::frame(banner).height(), body.maxY() + 16.67, tolerance);
    EXPECT_FALSE(BannerScene::field(banner, "grabberView"));
    EXPECT_FALSE(send<Ref<Object>>(banner, "subHeaderLabel")) << "no subheader given";
    Rect header = BannerScene::frame(send<Ref<Object>>(banner, "headerLabel"));
    EXPECT_NEAR(body.minY(), header.maxY() + 4, tolerance);
}

TEST(BrixContainerLayout, tinyBannerHasASmallIconAndEverythingInTheHeader)
{
    BannerScene scene;
    BannerOptions options;
    options.tinyBanner = true;
    options.appCornerRadius = 12;
    auto banner = scene.showBanner("Alice", "Project", "Hi", options);

    Rect icon = BannerScene::frame(BannerScene::field(banner, "appIV"));
    EXPECT_NEAR(icon.width(), 20, tolerance);
    EXPECT_NEAR(icon.height(), 20, tolerance);
    EXPECT_EQ(send<int64_t>(banner, "appCornerRadius"), 10);
    EXPECT_NEAR(BannerScene::layerOf(BannerScene::field(banner, "appIV"))->cornerRadius(), 10, 1e-9);
    Rect header = BannerScene::frame(send<Ref<Object>>(banner, "headerLabel"));
    EXPECT_NEAR(header.minY(), icon.minY() + 1, tolerance);
    EXPECT_FALSE(send<Ref<Object>>(banner, "subHeaderLabel"));
    auto* body = BannerScene::label(banner, "bodyLabel");
    EXPECT_TRUE(body->text().isEmptyText());
    EXPECT_EQ(body->numberOfLines(), 1);
    EXPECT_EQ(BannerScene::label(banner, "headerLabel")->text(), Value("Alice: Hi"));
}

TEST(BrixContainerLayout, privacyHidesTheContentAndDropsTheSubheader)
{
    BannerScene scene;
    BannerOptions options;
    options.enablePrivacy = true;
    auto banner = scene.showBanner("Alice", "Project", "Secret", options);
    EXPECT_EQ(BannerScene::label(banner, "headerLabel")->text(), Value("Content hidden"));
    EXPECT_EQ(BannerScene::label(banner, "bodyLabel")->text(), Value(""));
    EXPECT_FALSE(send<Ref<Object>>(banner, "subHeaderLabel"));
    EXPECT_EQ(send<Value>(banner, "originalHeader"), Value("Alice"));
    EXPECT_EQ(*runtime::ivarPointer<Value>(banner, "originalBody"), Value("Secret"));
    EXPECT_TRUE(runtime::ivarPointer<Value>(banner, "subHeader")->isNil());
}

// appSize 45: the icon variant is 22 by 22 with radius 11 over the top-right
// corner; the glyph variant is 38 by 38 from the icon's centre.
TEST(BrixContainerLayout, badgeVariantsAreSizedFromTheIcon)
{
    BannerScene scene;
    BannerOptions options;
    options.appSize = 45;
    options.useIconsInsteadOfGlyphs = true;
    auto iconBadge = scene.showBanner("Alice", nullptr, "Hi", options);
    Rect icon = BannerScene::frame(BannerScene::field(iconBadge, "appIV"));
    Rect badge = BannerScene::frame(BannerScene::field(iconBadge, "appDetailImage"));
    EXPECT_NEAR(badge.width(), 22, tolerance);
    EXPECT_NEAR(badge.height(), 22, tolerance);
    EXPECT_NEAR(badge.maxX(), icon.maxX() + 7, tolerance);
    EXPECT_NEAR(badge.minY(), icon.minY() - 7, tolerance);
    auto* badgeLayer = BannerScene::layerOf(BannerScene::field(iconBadge, "appDetailImage"));
    EXPECT_NEAR(badgeLayer->cornerRadius(), 11, 1e-9);
    EXPECT_TRUE(badgeLayer->continuousCorners());

    BannerScene other;
    options.useIconsInsteadOfGlyphs = false;
    auto glyphBadge = other.showBanner("Alice", nullptr, "Hi", options);
    icon = BannerScene::frame(BannerScene::field(glyphBadge, "appIV"));
    badge = BannerScene::frame(BannerScene::field(glyphBadge, "appDetailImage"));
    EXPECT_NEAR(badge.width(), 38, tolerance);
    EXPECT_NEAR(badge.height(), 38, tolerance);
    EXPECT_NEAR(badge.minX(), icon.minX() + 22.5, tolerance);
    EXPECT_NEAR(badge.maxY(), icon.minY() + 22.5, tolerance);
    EXPECT_NEAR(BannerScene::layerOf(BannerScene::field(glyphBadge, "appDetailImage"))->cornerRadius(), 0, 1e-9);

    BannerScene third;
    options.enableGlyphs = false;
    auto noBadge = third.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_FALSE(BannerScene::field(noBadge, "appDetailImage"));
}

// The icon radius is clamped to 10 on tiny banners and to half the icon
// (integer division) otherwise; smaller radii stay.
TEST(BrixContainerLayout, iconCornerRadiusIsClamped)
{
    struct Case {
        bool tiny;
        int64_t appSize;
        int64_t radius;
        int64_t expected;
    };
    for (Case c : { Case { false, 45, 30, 22 }, Case { false, 45, 20, 20 }, Case { true, 40, 12, 10 },
             Case { true, 40, 8, 8 }, Case { true, 10, 8, 5 } }) {
        BannerScene scene;
        BannerOptions options;
        options.tinyBanner = c.tiny;
        options.appSize = c.appSize;
        options.appCornerRadius = c.radius;
        auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
        EXPECT_EQ(send<int64_t>(banner, "appCornerRadius"), c.expected) << c.appSize << " " << c.radius;
        EXPECT_NEAR(BannerScene::layerOf(BannerScene::field(banner, "appIV"))->cornerRadius(),
            static_cast<double>(c.expected), 1e-9);
    }
}

// The top line moves below a classic status bar: only with the status bar
// shown on a device without a bottom safe area.
TEST(BrixContainerLayout, barTopDependsOnTheStatusBarAndTheSafeArea)
{
    device::Hardware classic;
    classic.bottomSafeArea = 0;
    struct Case {
        device::Hardware hardware;
        bool statusbar;
        int64_t barTop;
    };
    for (Case c :
        { Case { {}, true, 44 }, Case { classic, true, 65 }, Case { classic, false, 44 }, Case { {}, false, 44 } }) {
        BannerScene scene(c.hardware);
        BannerOptions options;
        options.statusbar = c.statusbar;
        auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
        EXPECT_EQ(send<int64_t>(banner, "barTop"), c.barTop);
        EXPECT_NEAR(BannerScene::frame(BannerScene::field(banner, "clockLabel")).minY(), c.barTop, tolerance);
        EXPECT_NEAR(BannerScene::frame(BannerScene::field(banner, "nowLabel")).minY(), c.barTop, tolerance);
        if (!c.statusbar) {
            EXPECT_EQ(BannerScene::labelField(banner, "clockLabel")->text(), Value("   "));
            EXPECT_EQ(BannerScene::labelField(banner, "nowLabel")->text(), Value("   "));
        }
    }
}

// The device starts at 14:05 UTC.
TEST(BrixContainerLayout, clockTextFollowsTheClockSetting)
{
    BannerScene scene;
    BannerOptions options;
    options.militaryClock = false;
    auto twelveHour = scene.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_EQ(BannerScene::labelField(twelveHour, "clockLabel")->text(), Value("2:05"));
    EXPECT_EQ(BannerScene::labelField(twelveHour, "nowLabel")->text(), Value("now"));
    EXPECT_TRUE(BannerScene::labelField(twelveHour, "clockLabel")->font()->isBold());
    EXPECT_FALSE(BannerScene::labelField(twelveHour, "nowLabel")->font()->isBold());

    BannerScene other;
    options.militaryClock = true;
    auto military = other.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_EQ(BannerScene::labelField(military, "clockLabel")->text(), Value("14:05"));
}

// Backdrop and banner blur styles by system version and colour mode.
TEST(BrixContainerLayout, blurStylesFollowVersionAndMode)
{
    struct Case {
        const char* version;
        uint64_t mode;
        int64_t backdrop;
        std::optional<int64_t> banner;
    };
    for (Case c : { Case { "12.4", 3, 4, std::nullopt }, Case { "12.4", 1, 4, 4 }, Case { "12.4", 2, 4, 4 },
             Case { "13.0", 1, 2, 2 }, Case { "14.4", 2, 1, 1 }, Case { "14.4", 3, 2, std::nullopt },
             Case { "14.4", 0, 4, 4 } }) {
        BannerScene scene(onVersion(c.version));
        BannerOptions options;
        options.colorMode = c.mode;
        auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
        auto what = std::string(c.version) + " mode " + std::to_string(c.mode);
        EXPECT_EQ(blurStyleOf(BannerScene::field(banner, "keyboardBackdrop")), c.backdrop) << what;
        auto first = BannerScene::subviews(banner).front();
        if (c.banner) {
            EXPECT_EQ(blurStyleOf(first), c.banner) << what;
        } else {
            EXPECT_EQ(first, BannerScene::field(banner, "clockLabel").get()) << what;
        }
    }
}

TEST(BrixContainerLayout, backdropStartsHiddenAndBlurNeedsTheSetting)
{
    BannerScene scene;
    BannerOptions options;
    options.backgroundBlur = false;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    auto backdrop = BannerScene::field(banner, "keyboardBackdrop");
    EXPECT_TRUE(BannerScene::isHidden(backdrop));
    EXPECT_NEAR(BannerScene::alpha(backdrop), 0, 1e-9);
    EXPECT_EQ(BannerScene::frame(backdrop), send<Rect>(scene.host(), "bounds"));
    EXPECT_EQ(BannerScene::subviews(banner).front(), BannerScene::field(banner, "clockLabel").get())
        << "no banner blur without the setting";
}

TEST(BrixContainerLayout, textAlignmentIsMappedToThePlatformsValues)
{
    // 0 natural (4), 1 left (0), 2 centre (1), 3 right (2); larger values align naturally.
    const std::pair<uint64_t, int64_t> mapping[] = { { 0, 4 }, { 1, 0 }, { 2, 1 }, { 3, 2 }, { 9, 4 } };
    for (auto [setting, platform] : mapping) {
        BannerScene scene;
        BannerOptions options;
        options.textAlignment = setting;
        auto banner = scene.showBanner("Alice", "Project", "Hi", options);
        for (const char* getter : { "headerLabel", "subHeaderLabel", "bodyLabel" })
            EXPECT_EQ(BannerScene::label(banner, getter)->textAlignment(), platform) << setting << " " << getter;
    }
}

TEST(BrixContainerLayout, coloursOfTheSetAreApplied)
{
    BannerScene scene;
    BannerOptions options;
    options.colorMode = 1;
    auto banner = scene.showBanner("Alice", "Project", "Hi", options);
    for (const char* getter : { "headerLabel", "subHeaderLabel", "bodyLabel" })
        expectColor(BannerScene::label(banner, getter)->textColor(), 1, 1, 1, 1, getter);
    expectColor(BannerScene::labelField(banner, "clockLabel")->textColor(), 1, 1, 1, 1, "clock");
    expectColor(
        BannerScene::layerOf(BannerScene::field(banner, "grabberView"))->backgroundColor(), 1, 1, 1, 0.1, "grabber");
    expectColor(BannerScene::layerOf(banner)->backgroundColor(), 0, 0, 0, 0.3, "background");
}

TEST(BrixContainerLayout, fontsComeFromTheSizeSettings)
{
    BannerScene scene;
    BannerOptions options;
    options.headerFontSize = 17;
    options.textFontSize = 12;
    options.statusbarFontSize = 11;
    auto banner = scene.showBanner("Alice", "Project", "Hi", options);
    auto* header = BannerScene::label(banner, "headerLabel");
    EXPECT_NEAR(header->font()->pointSize(), 17, 1e-9);
    EXPECT_TRUE(header->font()->isBold());
    EXPECT_NEAR(BannerScene::label(banner, "subHeaderLabel")->font()->pointSize(), 17, 1e-9);
    auto* body = BannerScene::label(banner, "bodyLabel");
    EXPECT_NEAR(body->font()->pointSize(), 12, 1e-9);
    EXPECT_FALSE(body->font()->isBold());
    EXPECT_NEAR(BannerScene::labelField(banner, "clockLabel")->font()->pointSize(), 11, 1e-9);
}

// Settings out of any sensible range still give a banner: the platform
// clamps where it measures and draws, the banner keeps the values given.
TEST(BrixContainerLayout, absurdSettingsStillLayOutABanner)
{
    BannerScene scene;
    BannerOptions options;
    options.appSize = -40;
    options.appCornerRadius = 1000000;
    options.containerCornerRadius = -5;
    options.headerFontSize = 100000;
    options.textFontSize = -3;
    options.statusbarFontSize = 0;
    options.maxLineCount = -1;
    options.appIconTop = -500;
    auto banner = scene.showBanner("Alice", "Project", "Hi", options);
    EXPECT_EQ(send<int64_t>(banner, "appSize"), -40);
    EXPECT_EQ(send<int64_t>(banner, "appCornerRadius"), -20) << "clamped to half the size given";
    EXPECT_TRUE(send<Ref<Object>>(banner, "bodyLabel"));
    Rect frame = BannerScene::frame(banner);
    EXPECT_TRUE(std::isfinite(frame.height()));
    EXPECT_NEAR(frame.minY(), -70, tolerance);
}
