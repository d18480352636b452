#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;
using State = uikit::UIGestureRecognizer::State;

namespace {

// A banner that can be answered, so it has room to expand into.
std::pair<Controller, Ref<Object>> answerableBanner(ControllerTestDevice& test, const char* id = "n1")
{
    auto controller = test.notify(test.message(id, "Alice", "Hi there", "com.apple.MobileSMS"));
    return { controller, bannerOf(controller) };
}

double number(Object* banner, const char* selector)
{
    return send<double>(banner, Selector::named(selector));
}

std::map<std::string, Value> settings(std::map<std::string, Value> extra = {})
{
    extra.emplace("timeToDismiss", 100);
    return extra;
}

} // namespace

TEST(Gestures, releasingTwentyPointsAboveRestDismissesAndLessSettles)
{
    {
        ControllerTestDevice test(settings());
        auto [controller, banner] = answerableBanner(test);
        drag(banner, { -10, -20 });
        EXPECT_TRUE(flag(controller, "isDismissing"));
        EXPECT_TRUE(test.holdFlag());
        EXPECT_EQ(send<Value>(send<Ref<Object>>(banner, SEL("reply")), SEL("text")), Value(""));
    }
    {
        ControllerTestDevice test(settings());
        auto [controller, banner] = answerableBanner(test);
        drag(banner, { -10, -19.9 }, State::Changed);
        EXPECT_NEAR(number(banner, "offset"), -89.9, 1e-9);
        drag(banner, { -19.9 });
        EXPECT_FALSE(flag(controller, "dismissCalled"));
        test.advance(0.5);
        EXPECT_NEAR(number(banner, "offset"), -70, 1e-9);
    }
}

TEST(Gestures, settlingOpensTheBanner)
{
    ControllerTestDevice test(settings({ { "showButtons", false } }));
    auto [controller, banner] = answerableBanner(test);
    drag(banner, { 0 });
    test.advance(1);
    EXPECT_EQ(send<int64_t>(banner, SEL("maxLineCount")), 15);
    auto* showingReply = runtime::ivarPointer<bool>(banner, "showingReply");
    ASSERT_TRUE(showingReply);
    EXPECT_TRUE(*showingReply);
    EXPECT_FALSE(flag(controller, "dismissCalled"));
}

TEST(Gestures, anyDownwardDragExpandsTheBannerFullyAndHoldsIt)
{
    ControllerTestDevice test(settings());
    auto [controller, banner] = answerableBanner(test);
    drag(banner, { 1 });
    test.advance(1);
    EXPECT_TRUE(send<bool>(banner, SEL("isFullyExpanded")));
    EXPECT_NEAR(number(banner, "height"), number(banner, "defaultExpandedHeight"), 1e-9);
    EXPECT_FALSE(test.holdFlag());

    // The held banner outlives its timer; dragging it up far enough still dismisses it.
    test.advance(100);
    EXPECT_FALSE(flag(controller, "isDismissing"));
    drag(banner, { -10, -30 }, State::Changed);
    EXPECT_NEAR(number(banner, "offset"), -100, 1e-9);
    drag(banner, { -30 });
    EXPECT_TRUE(flag(controller, "isDismissing"));
    EXPECT_TRUE(test.holdFlag());
}

TEST(Gestures, aBannerWithNothingToExpandIntoKeepsItsHeight)
{
    ControllerTestDevice test(settings({ { "showButtons", false } }));
    auto controller = test.notify("n1");
    auto banner = bannerOf(controller);
    ASSERT_FALSE(send<bool>(banner, SEL("canReply")));
    double compact = number(banner, "height");
    drag(banner, { 40, 200 });
    test.advance(1);
    EXPECT_NEAR(number(banner, "height"), compact, 1e-9);
    EXPECT_FALSE(test.holdFlag());
}

TEST(Gestures, dragsWhileTheBannerSlidesOutAreIgnored)
{
    ControllerTestDevice test(settings());
    auto [controller, banner] = answerableBanner(test);
    double compact = number(banner, "height");
    tap(banner);
    drag(banner, { 40 }, State::Changed);
    drag(banner, { 40 });
    EXPECT_NEAR(number(banner, "height"), compact, 1e-9);
    EXPECT_TRUE(test.holdFlag());
}

TEST(Gestures, aSettledOrExpandedMessagesBannerIsMarkedReadInAutoReadMode)
{
    for (int64_t mode : { int64_t(0), int64_t(1), int64_t(2) }) {
        ControllerTestDevice test(settings({ { "messagesAutoReadMode", mode } }));
        auto marked = std::make_shared<int>(0);
        auto* cls = test.runtime().classNamed("NCNotificationShortLookViewController");
        test.runtime().hookMessage(
            *cls, SEL("markMessagesAsRead"), runtime::Imp::of([marked](Object*, Selector) { ++*marked; }));
        auto [controller, banner] = answerableBanner(test);
        drag(banner, { 0 });
        drag(banner, { 5 });
        EXPECT_EQ(*marked, mode == 1 ? 2 : 0) << mode;
    }
}
