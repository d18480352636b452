#include "tests/view/BannerScene.h"

using namespace bannertest;

namespace {

constexpr double tolerance = 0.01;
using Completion = runtime::Block<void(bool)>;

// Records the calls of a completion block.
struct CompletionRecord {
    std::vector<bool> calls;
    Completion block()
    {
        return [this](bool finished) { calls.push_back(finished); };
    }
};

} // namespace

TEST(BrixContainerGeometry, referenceValuesDependOnTheGrabber)
{
    BannerScene scene;
    BannerOptions options;
    auto withGrabber = scene.makeBanner("Alice", nullptr, "Hi", options);
    options.enableGrabber = false;
    auto withoutGrabber = scene.makeBanner("Alice", nullptr, "Hi", options);
    EXPECT_NEAR(send<double>(withGrabber, "defaultOffset"), -70, 1e-9);
    EXPECT_NEAR(send<double>(withGrabber, "defaultDismiss"), -20, 1e-9);
    EXPECT_NEAR(send<double>(withGrabber, "defaultHeight"), 22, 1e-9);
    EXPECT_NEAR(send<double>(withGrabber, "defaultExpandedHeight"), 63, 1e-9);
    EXPECT_NEAR(send<double>(withoutGrabber, "defaultHeight"), 16.67, 1e-9);
    EXPECT_NEAR(send<double>(withoutGrabber, "defaultExpandedHeight"), 57.67, 1e-9);
}

TEST(BrixContainerGeometry, heightMarginMovesAllThreeConstraintsAndDecidesExpansion)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi");
    double collapsed = BannerScene::frame(banner).height();
    EXPECT_FALSE(send<bool>(banner, "isFullyExpanded"));

    send(banner, "updateBrixHeightConstraint:", send<double>(banner, "defaultExpandedHeight"));
    send(scene.window(), "layoutIfNeeded");
    EXPECT_TRUE(send<bool>(banner, "isFullyExpanded"));
    EXPECT_NEAR(send<double>(banner, "height"), 63, 1e-9);
    for (const char* name : { "brixHeightConstraint", "brixAlternateHeightConstraint", "brixOtherHeightConstraint" }) {
        EXPECT_NEAR(send<double>(BannerScene::field(banner, name), "constant"), 63, 1e-9) << name;
        EXPECT_TRUE(send<bool>(BannerScene::field(banner, name), "isActive")) << name;
    }
    EXPECT_NEAR(BannerScene::frame(banner).height(), collapsed + 41, tolerance);

    send(banner, "updateBrixHeightConstraint:", send<double>(banner, "defaultHeight"));
    EXPECT_FALSE(send<bool>(banner, "isFullyExpanded"));
}

// Without reply and buttons there is nothing to make room for: 30 less.
TEST(BrixContainerGeometry, animatedMarginLeavesOutTheRowItDoesNotHave)
{
    BannerScene scene;
    auto bare = scene.showBanner("Alice", nullptr, "Hi");
    CompletionRecord record;
    send(bare, "updateBrixHeightConstraint:animated:completion:", 63.0, true, record.block());
    EXPECT_NEAR(send<double>(bare, "height"), 33, 1e-9) << "the model value changes at once";
    EXPECT_TRUE(record.calls.empty());
    ASSERT_TRUE(scene.advance(0.2));
    EXPECT_EQ(record.calls, std::vector<bool> { true });
    EXPECT_FALSE(send<bool>(bare, "isFullyExpanded"));

    BannerOptions options;
    options.canReply = true;
    auto repliable = scene.makeBanner("Bob", nullptr, "Hi", options);
    scene.show(repliable);
    send(repliable, "updateBrixHeightConstraint:animated:completion:", 63.0, true, Completion {});
    EXPECT_NEAR(send<double>(repliable, "height"), 63, 1e-9);
    EXPECT_TRUE(send<bool>(repliable, "isFullyExpanded"));

    CompletionRecord immediate;
    send(bare, "updateBrixHeightConstraint:animated:completion:", 40.0, false, immediate.block());
    EXPECT_NEAR(send<double>(bare, "height"), 40, 1e-9) << "the direct path takes nothing off";
    ASSERT_TRUE(scene.advance(1));
    EXPECT_TRUE(immediate.calls.empty()) << "the direct path never calls back";
}

TEST(BrixContainerGeometry, animatedTopMoveWithoutSuperviewDoesNothing)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi");
    send(banner, "removeFromSuperview");
    CompletionRecord record;
    send(banner, "updateBrixTopConstraint:animated:duration:completion:", 15.0, true, 0.3, record.block());
    send(banner, "updateBrixTopConstraint:animated:completion:", 15.0, true, record.block());
    ASSERT_TRUE(scene.advance(2));
    EXPECT_NEAR(send<double>(banner, "offset"), -70, 1e-9);
    EXPECT_TRUE(record.calls.empty());
}

// The animated move starts on a later turn of the main queue and overwrites
// a value set directly in the meantime.
TEST(BrixContainerGeometry, animatedTopMoveIsDeferredThenCallsBack)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi");
    CompletionRecord record;
    send(banner, "updateBrixTopConstraint:animated:duration:completion:", 15.0, true, 0.5, record.block());
    EXPECT_NEAR(send<double>(banner, "offset"), -70, 1e-9);
    send(banner, "updateBrixTopConstraint:", -10.0);
    EXPECT_NEAR(send<double>(banner, "offset"), -10, 1e-9);

    ASSERT_TRUE(scene.advance(0.01));
    EXPECT_NEAR(send<double>(banner, "offset"), 15, 1e-9);
    EXPECT_NEAR(BannerScene::frame(banner).minY(), 15, tolerance) << "the superview is laid out at once";
    EXPECT_TRUE(record.calls.empty());
    ASSERT_TRUE(scene.advance(0.6));
    EXPECT_EQ(record.calls, std::vector<bool> { true });

    CompletionRecord shortMove;
    send(banner, "updateBrixTopConstraint:animated:completion:", 0.0, true, shortMove.block());
    ASSERT_TRUE(scene.advance(0.1));
    EXPECT_NEAR(send<double>(banner, "offset"), 0, 1e-9);
    EXPECT_TRUE(shortMove.calls.empty()) << "0.15 s have not passed";
    ASSERT_TRUE(scene.advance(0.1));
    EXPECT_EQ(shortMove.calls, std::vector<bool> { true });
}

TEST(BrixContainerGeometry, directTopMoveIsImmediateAndNeverCallsBack)
{
    BannerScene scene;
    auto banner = scene.showBanner("Alice", nullptr, "Hi");
    CompletionRecord record;
    send(banner, "updateBrixTopConstraint:animated:completion:", 5.0, false, record.block());
    EXPECT_NEAR(send<double>(banner, "offset"), 5, 1e-9);
    EXPECT_TRUE(send<bool>(BannerScene::field(banner, "brixTopConstraint"), "isActive"));
    ASSERT_TRUE(scene.advance(1));
    EXPECT_TRUE(record.calls.empty());
}

// Setting the count before layout only stores it; afterwards it goes to the
// body label, or to the header label of a tiny banner.
TEST(BrixContainerGeometry, maxLineCountReachesTheLabelThatShowsTheText)
{
    BannerScene scene;
    BannerOptions options;
    options.maxLineCount = 3;
    auto full = scene.makeBanner("Alice", nullptr, "Hi", options);
    EXPECT_TRUE(send<bool>(full, "showingAllLines"));
    EXPECT_EQ(send<int64_t>(full, "maxLineCount"), 3);
    scene.show(full);
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->numberOfLines(), 3);
    send(full, "setMaxLineCount:", int64_t(6));
    EXPECT_EQ(BannerScene::label(full, "bodyLabel")->numberOfLines(), 6);
    EXPECT_EQ(BannerScene::label(full, "headerLabel")->numberOfLines(), 1);

    BannerScene other;
    options.tinyBanner = true;
    std::string longBody;
    for (int i = 0; i < 8; ++i)
        longBody += "More words that need another line. ";
    auto tiny = other.showBanner("Alice", nullptr, longBody, options);
    auto* header = BannerScene::label(tiny, "headerLabel");
    EXPECT_EQ(header->numberOfLines(), 1);
    double singleLine = BannerScene::frame(tiny).height();
    send(tiny, "setMaxLineCount:", int64_t(0));
    EXPECT_EQ(header->numberOfLines(), 0);
    EXPECT_EQ(BannerScene::label(tiny, "bodyLabel")->numberOfLines(), 1);
    EXPECT_GT(header->measuredNumberOfLines(), 1) << "the header wraps without limit";
    EXPECT_GT(BannerScene::frame(tiny).height(), singleLine) << "the superview is laid out at once";
}

TEST(BrixContainerGeometry, overlayFadesTheBackdropOnlyWithTheBlurSetting)
{
    {
        BannerScene scene;
        BannerOptions options;
        options.backgroundBlur = false;
        auto withoutBlur = scene.showBanner("Alice", nullptr, "Hi", options);
        auto backdrop = BannerScene::field(withoutBlur, "keyboardBackdrop");
        send(withoutBlur, "setOverlayWithAnimation:", 1.0);
        EXPECT_TRUE(BannerScene::isHidden(backdrop));
        EXPECT_NEAR(BannerScene::alpha(backdrop), 0, 1e-9);
    }

    BannerScene scene;
    auto withBlur = scene.showBanner("Alice", nullptr, "Hi");
    auto backdrop = BannerScene::field(withBlur, "keyboardBackdrop");
    send(withBlur, "setOverlayWithAnimation:", 1.0);
    EXPECT_FALSE(BannerScene::isHidden(backdrop));
    EXPECT_NEAR(BannerScene::alpha(backdrop), 1, 1e-9);
    ASSERT_TRUE(scene.advance(0.5));
    EXPECT_FALSE(BannerScene::isHidden(backdrop));

    send(withBlur, "setOverlayWithAnimation:", 0.0);
    EXPECT_NEAR(BannerScene::alpha(backdrop), 0, 1e-9);
    EXPECT_FALSE(BannerScene::isHidden(backdrop)) << "hidden only once the fade has finished";
    ASSERT_TRUE(scene.advance(0.5));
    EXPECT_TRUE(BannerScene::isHidden(backdrop));
}
