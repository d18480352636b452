#include "platform/uikit/UIImage.h"

#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

constexpr double tolerance = 0.01;

uikit::UIImage* badgeImage(Object* banner)
{
    auto image = send<Ref<Object>>(BannerScene::field(banner, "appDetailImage"), "image");
    return dynamic_cast<uikit::UIImage*>(image.get());
}

double textLeading(Object* banner, const char* getter)
{
    Rect icon = BannerScene::frame(BannerScene::field(banner, "appIV"));
    return BannerScene::frame(send<Ref<Object>>(banner, getter)).minX() - icon.maxX();
}

} // namespace

TEST(BrixContainerUpdates, continuousUpdatesAppendLines)
{
    BannerScene scene;
    BannerOptions options;
    options.canReply = true;
    auto banner = scene.showBanner("Alice", "Project", "A", options);
    send(banner, "updateBannerForContinuousNotification:", Value("B"));
    send(banner, "updateBannerForContinuousNotification:", Value("C"));
    EXPECT_EQ(BannerScene::label(banner, "bodyLabel")->text(), Value("A\nB\nC"));
    EXPECT_EQ(BannerScene::label(banner, "headerLabel")->text(), Value("Alice"));
    EXPECT_EQ(BannerScene::label(banner, "subHeaderLabel")->text(), Value("Project"));
}

TEST(BrixContainerUpdates, tinyContinuousUpdateRecomposesTheHeader)
{
    BannerScene scene;
    BannerOptions options;
    options.tinyBanner = true;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    send(banner, "updateBannerForContinuousNotification:", Value("Yo"));
    auto* header = BannerScene::label(banner, "headerLabel");
    EXPECT_EQ(header->text(), Value("Alice: Hi\nYo"));
    EXPECT_EQ(BannerScene::boldRanges(header), (std::vector<std::pair<uint64_t, uint64_t>> { { 0, 7 } }));
}

// Privacy: the constructed texts come back; the subheader does not.
TEST(BrixContainerUpdates, showContentRevealsTheOriginalTexts)
{
    BannerScene scene;
    BannerOptions options;
    options.enablePrivacy = true;
    auto full = scene.showBanner("Alice", "Project", "Secret", options);
    send(full, "showContent");
    EXPECT_EQ(BannerScene::label(full, "headerLabel")->text(), Value("Alice"));
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->text(), Value("Secret"));
    EXPECT_FALSE(send<Ref<Object>>(full, "subHeaderLabel"));
    send(full, "updateBannerForContinuousNotification:", Value("More"));
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->text(), Value("Secret\nMore")) << "appends to the revealed body";
    send(full, "showContent");
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->text(), Value("Secret\nMore")) << "reveals only once";

    options.tinyBanner = true;
    auto tiny = scene.showBanner("Alice", nullptr, "Hi", options);
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Content hidden"));
    send(tiny, "showContent");
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Alice: \nHi"));
    send(tiny, "showContent");
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Alice: \nHi"));
}

// Updates that arrive while the content is hidden show nothing of themselves,
// not even the sender, and follow the original body in order once revealed.
TEST(BrixContainerUpdates, updatesWhileHiddenWaitForTheReveal)
{
    BannerScene scene;
    BannerOptions options;
    options.enablePrivacy = true;
    options.canReply = true;
    auto full = scene.showBanner("Alice", nullptr, "Secret plan", options);
    send(full, "updateBannerForContinuousNotification:", Value("Second"));
    send(full, "updateBannerForContinuousNotification:", Value("Third"));
    EXPECT_EQ(BannerScene::label(full, "headerLabel")->text(), Value("Content hidden"));
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->text(), Value(""));
    send(full, "showContent");
    EXPECT_EQ(BannerScene::label(full, "headerLabel")->text(), Value("Alice"));
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->text(), Value("Secret plan\nSecond\nThird"));

    options.tinyBanner = true;
    auto tiny = scene.showBanner("Alice", nullptr, "Hi", options);
    send(tiny, "updateBannerForContinuousNotification:", Value("Yo"));
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Content hidden"));
    send(tiny, "showContent");
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Alice: \nHi\nYo"));
    send(tiny, "updateBannerForContinuousNotification:", Value("Later"));
    EXPECT_EQ(BannerScene::label(tiny, "headerLabel")->text(), Value("Alice: \nHi\nYo\nLater"));
}

// The glyph follows the colour mode: white on the dark sets, black on the light one.
TEST(BrixContainerUpdates, updateImageShowsThePictureAndTheAppsGlyph)
{
    for (auto [mode, variant] : { std::pair { 2, "black" }, std::pair { 1, "white" }, std::pair { 3, "white" } }) {
        BannerScene scene;
        BannerOptions options;
        options.colorMode = mode;
        auto banner = scene.showBanner("Alice", "Project", "Hi", options, scene.makeImage());
        EXPECT_NEAR(textLeading(banner, "headerLabel"), 16, tolerance);
        auto picture = scene.makeImage(90);
        send(banner, "updateImage:", picture);
        send(scene.window(), "layoutIfNeeded");
        EXPECT_EQ(send<Ref<Object>>(BannerScene::field(banner, "appIV"), "image").get(), picture.get());
        auto* glyph = badgeImage(banner);
        ASSERT_NE(glyph, nullptr) << variant;
        EXPECT_TRUE(glyph->path().ends_with(std::string("glyphs/") + variant + "/whatsapp.png")) << glyph->path();
        for (const char* getter : { "headerLabel", "subHeaderLabel", "bodyLabel" })
            EXPECT_NEAR(textLeading(banner, getter), 24, tolerance) << getter;
    }
}

TEST(BrixContainerUpdates, iconVariantShowsTheAppIconAndKeepsTheTexts)
{
    BannerScene scene;
    BannerOptions options;
    options.useIconsInsteadOfGlyphs = true;
    auto icon = scene.makeImage();
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options, icon);
    send(banner, "updateImage:", scene.makeImage(90));
    send(scene.window(), "layoutIfNeeded");
    EXPECT_EQ(badgeImage(banner), icon.get());
    EXPECT_NEAR(textLeading(banner, "headerLabel"), 16, tolerance);
    EXPECT_NEAR(textLeading(banner, "bodyLabel"), 16, tolerance);
}

// An app without a glyph, or no picture at all, still moves the texts.
TEST(BrixContainerUpdates, unknownAppAndAbsentImageLeaveTheBadgeOrIconEmpty)
{
    BannerScene scene;
    BannerOptions options;
    options.bundleId = "com.example.unknown";
    auto unknown = scene.showBanner("Alice", nullptr, "Hi", options);
    send(unknown, "updateImage:", scene.makeImage());
    send(scene.window(), "layoutIfNeeded");
    EXPECT_EQ(badgeImage(unknown), nullptr);
    EXPECT_NEAR(textLeading(unknown, "headerLabel"), 24, tolerance);

    BannerScene other;
    auto banner = other.showBanner("Alice", nullptr, "Hi", {}, other.makeImage());
    send(banner, "updateImage:", nullptr);
    send(other.window(), "layoutIfNeeded");
    EXPECT_FALSE(send<Ref<Object>>(BannerScene::field(banner, "appIV"), "image"));
    EXPECT_NE(badgeImage(banner), nullptr);
    EXPECT_NEAR(textLeading(banner, "bodyLabel"), 24, tolerance);
}

TEST(BrixContainerUpdates, withoutGlyphsTheTextsStillMove)
{
    BannerScene scene;
    BannerOptions options;
    options.enableGlyphs = false;
    auto banner = scene.showBanner("Alice", nullptr, "Hi", options);
    send(banner, "updateImage:", scene.makeImage());
    send(scene.window(), "layoutIfNeeded");
    EXPECT_FALSE(BannerScene::field(banner, "appDetailImage"));
    EXPECT_NEAR(textLeading(banner, "headerLabel"), 24, tolerance);
}
