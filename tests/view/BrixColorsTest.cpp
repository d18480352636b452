#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

struct Rgba {
    double red, green, blue, alpha;
};

struct Row {
    const char* selector;
    Rgba dark;
    Rgba light;
    Rgba opaque;
};

const Row table[] = {
    { "containerBackgroundColor", { 0, 0, 0, 0.3 }, { 1, 1, 1, 0.3 }, { 0, 0, 0, 1 } },
    { "containerGrabberColor", { 1, 1, 1, 0.1 }, { 0.2, 0.2, 0.2, 0.5 }, { 0.3, 0.3, 0.3, 1 } },
    { "containerReplyColor", { 1, 1, 1, 0.1 }, { 0, 0, 0, 0.1 }, { 0.11, 0.11, 0.12, 1 } },
    { "containerTextColor", { 1, 1, 1, 1 }, { 0, 0, 0, 1 }, { 0.7, 0.7, 0.7, 1 } },
    { "containerButtonColor", { 1, 1, 1, 0.1 }, { 0, 0, 0, 0.1 }, { 0.11, 0.11, 0.12, 1 } },
    { "containerDeleteColor", { 1, 0, 0, 1 }, { 0.75, 0, 0, 1 }, { 1, 0, 0, 1 } },
};

void expectRgba(const Ref<Object>& color, Rgba expected, const std::string& what)
{
    expectColor(colorOf(color), expected.red, expected.green, expected.blue, expected.alpha, what.c_str());
}

device::Hardware onVersion(const char* version)
{
    device::Hardware hardware;
    hardware.systemVersion = version;
    return hardware;
}

} // namespace

// Modes 1, 2 and 3, and 0 answering as 3, on a current system.
TEST(BrixColors, answersTheTableForEachMode)
{
    BannerScene scene;
    for (uint64_t mode : { 1, 2, 3, 0, 7 }) {
        auto colors = scene.makeColors(mode);
        EXPECT_EQ(send<uint64_t>(colors, "mode"), mode);
        for (const Row& row : table) {
            Rgba expected = mode == 1 ? row.dark : mode == 2 ? row.light : row.opaque;
            expectRgba(send<Ref<Object>>(colors, row.selector), expected,
                std::string(row.selector) + " mode " + std::to_string(mode));
        }
    }
}

// Before 13.0 only the dark background differs: black at 0.8.
TEST(BrixColors, darkBackgroundIsDenserBeforeVersion13)
{
    BannerScene old(onVersion("12.4"));
    expectRgba(send<Ref<Object>>(old.makeColors(1), "containerBackgroundColor"), { 0, 0, 0, 0.8 }, "12.4 mode 1");
    expectRgba(send<Ref<Object>>(old.makeColors(2), "containerBackgroundColor"), { 1, 1, 1, 0.3 }, "12.4 mode 2");
    expectRgba(send<Ref<Object>>(old.makeColors(1), "containerTextColor"), { 1, 1, 1, 1 }, "12.4 text");

    BannerScene current(onVersion("13.0"));
    expectRgba(send<Ref<Object>>(current.makeColors(1), "containerBackgroundColor"), { 0, 0, 0, 0.3 }, "13.0");
}

TEST(BrixColors, everyCallBuildsANewColour)
{
    BannerScene scene;
    auto colors = scene.makeColors(2);
    auto first = send<Ref<Object>>(colors, "containerTextColor");
    auto second = send<Ref<Object>>(colors, "containerTextColor");
    EXPECT_NE(first.get(), second.get());
}

// Custom colours count only when switched on and set; a copy drops them.
TEST(BrixColors, customColoursTakePrecedenceButAreNotCopied)
{
    BannerScene scene;
    auto colors = scene.makeColors(2);
    auto green = uikit::UIColor::make(scene.runtime(), 0, 1, 0, 1);
    send(colors, "setTextColor:", green);
    EXPECT_NE(send<Ref<Object>>(colors, "containerTextColor").get(), green.get()) << "custom colours are off";

    send(colors, "setUseCustomColors:", true);
    EXPECT_EQ(send<Ref<Object>>(colors, "containerTextColor").get(), green.get());
    expectRgba(send<Ref<Object>>(colors, "containerBackgroundColor"), { 1, 1, 1, 0.3 }, "no custom background");
    EXPECT_EQ(send<Ref<Object>>(colors, "textColor").get(), green.get());

    auto copy = send<Ref<Object>>(colors, "copyWithZone:", nullptr);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), colors.get());
    EXPECT_EQ(send<uint64_t>(copy, "mode"), 2u);
    EXPECT_FALSE(send<bool>(copy, "useCustomColors"));
    EXPECT_FALSE(send<Ref<Object>>(copy, "textColor"));
    expectRgba(send<Ref<Object>>(copy, "containerTextColor"), { 0, 0, 0, 1 }, "copy answers the table");
}

TEST(BrixColors, bannerKeepsACopyOfItsSet)
{
    BannerScene scene;
    auto banner = scene.makeBanner("Alice", nullptr, "Hi");
    auto colors = scene.makeColors(1);
    send(banner, "setColorSet:", colors);
    auto kept = send<Ref<Object>>(banner, "colorSet");
    ASSERT_TRUE(kept);
    EXPECT_NE(kept.get(), colors.get());
    EXPECT_EQ(send<uint64_t>(kept, "mode"), 1u);
}

// A new set recolours every part of the banner; the blur stays as it was.
TEST(BrixColors, updateColorModeRecoloursTheBanner)
{
    BannerScene scene;
    BannerOptions options;
    options.enableButtons = true;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", "Project", "Hi", options);
    auto blurBefore = BannerScene::subviews(banner).front();

    auto dark = scene.makeColors(1);
    send(banner, "updateColorMode:", dark);
    EXPECT_NE(send<Ref<Object>>(banner, "colorSet").get(), dark.get());
    EXPECT_EQ(send<uint64_t>(send<Ref<Object>>(banner, "colorSet"), "mode"), 1u);
    expectColor(BannerScene::layerOf(banner)->backgroundColor(), 0, 0, 0, 0.3, "background");
    for (const char* getter : { "headerLabel", "subHeaderLabel", "bodyLabel" })
        expectColor(BannerScene::label(banner, getter)->textColor(), 1, 1, 1, 1, getter);
    for (const char* name : { "clockLabel", "nowLabel" })
        expectColor(BannerScene::labelField(banner, name)->textColor(), 1, 1, 1, 1, name);
    expectColor(
        BannerScene::layerOf(BannerScene::field(banner, "grabberView"))->backgroundColor(), 1, 1, 1, 0.1, "grabber");
    auto clear = BannerScene::field(banner, "clearButton");
    expectColor(colorOf(send<Ref<Object>>(clear, "titleColorForState:", uint64_t(0))), 1, 0, 0, 1, "delete title");
    expectColor(BannerScene::layerOf(clear)->backgroundColor(), 1, 1, 1, 0.1, "button");
    expectColor(BannerScene::layerOf(send<Ref<Object>>(banner, "replyBg"))->backgroundColor(), 1, 1, 1, 0.1, "reply");
    EXPECT_EQ(BannerScene::subviews(banner).front(), blurBefore);
}

TEST(BrixColors, updateColorModeLeavesACustomSetAlone)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi");
    // A set whose custom colours are on can only come from outside the banner's copy.
    auto custom = send<Ref<Object>>(banner, "colorSet");
    send(custom, "setUseCustomColors:", true);
    send(banner, "updateColorMode:", scene.makeColors(1));
    EXPECT_EQ(send<Ref<Object>>(banner, "colorSet").get(), custom.get());
    expectColor(BannerScene::label(banner, "headerLabel")->textColor(), 0, 0, 0, 1, "still the light set's text");
}
