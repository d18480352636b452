#include <memory>
#include <optional>

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;
using runtime::Block;

namespace {

constexpr double systemTransition = 0.3;

int64_t linesOf(Object* banner, const char* label)
{
    return send<int64_t>(send<Ref<Object>>(banner, Selector::named(label)), SEL("_measuredNumberOfLines"));
}

// The time from a tap until the system has ended the banner's presentation, less the system's own transition.
double slideOutTime(ControllerTestDevice& test, const char* id, Object* controller)
{
    double tapped = test.now();
    tap(bannerOf(controller));
    test.advance(3);
    auto dismissed = test.eventsFor("system.dismissed", id);
    if (dismissed.empty())
        return -1;
    return dismissed[0]["t"].get<double>() - tapped - systemTransition;
}

} // namespace

TEST(Dismissal, theTimerSlidesTheBannerOutAndThenEndsThePresentation)
{
    ControllerTestDevice test({ { "timeToDismiss", 3 } });
    auto controller = test.notify("n1", "Alice", "Hi there");
    auto banner = bannerOf(controller);
    test.advance(3);
    EXPECT_TRUE(flag(controller, "autoDimissTriggered"));
    EXPECT_TRUE(flag(controller, "dismissCalled"));
    EXPECT_TRUE(flag(controller, "isDismissing"));
    EXPECT_TRUE(bannerOf(controller));

    test.advance(2);
    EXPECT_NEAR(send<double>(banner, SEL("offset")), -1070, 1e-9);
    EXPECT_FALSE(bannerOf(controller));
    EXPECT_FALSE(send<Ref<Object>>(banner, SEL("superview")));
    auto dismissed = test.eventsFor("system.dismissed", "n1");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], 0);
    double slideOut = 0.7 + 0.02 * static_cast<double>(linesOf(banner, "bodyLabel"));
    EXPECT_NEAR(dismissed[0]["t"].get<double>(), 3 + slideOut + systemTransition, 1e-6);
    EXPECT_TRUE(flag(controller, "hasDismissed"));
    EXPECT_TRUE(test.holdFlag());
}

TEST(Dismissal, aBannerThatMustStayIgnoresTheTimerButNotATap)
{
    ControllerTestDevice test({ { "timeToDismiss", 2 } });
    auto contents = test.message("n1", "Alarm", "Wake up");
    contents.dismissAutomatically = false;
    auto controller = test.notify(contents);
    EXPECT_FALSE(test.holdFlag());
    test.advance(5);
    EXPECT_TRUE(flag(controller, "autoDimissTriggered"));
    EXPECT_TRUE(flag(controller, "dismissCalled"));
    EXPECT_FALSE(flag(controller, "isDismissing"));
    EXPECT_TRUE(bannerOf(controller));

    tap(bannerOf(controller));
    EXPECT_TRUE(test.holdFlag());
    EXPECT_TRUE(flag(controller, "isDismissing"));
    test.advance(2);
    EXPECT_EQ(test.eventsFor("system.dismissed", "n1").size(), 1u);
}

TEST(Dismissal, whileABannerIsHeldNoNewBannerIsBuilt)
{
    ControllerTestDevice test({ { "timeToDismiss", 100 } });
    auto contents = test.message("n1", "Alice", "Stay");
    contents.dismissAutomatically = false;
    test.notify(contents);
    test.post("dismissnoani");
    test.setHoldFlag(false);
    auto next = test.notify("n2");
    ASSERT_TRUE(next);
    EXPECT_FALSE(bannerOf(next));
}

TEST(Dismissal, theSlideOutTakesLongerForEveryLineOfText)
{
    const std::string longBody = "This message is long enough to need several lines in a banner of an ordinary phone, "
                                 "and then some more words so that it wraps again and again until it is cut.";
    struct Case {
        std::map<std::string, Value> preferences;
        Value body;
        const char* countedLabel;
    };
    std::vector<Case> cases {
        { { { "maxLineCount", 3 } }, Value(longBody), "bodyLabel" },
        { { { "maxLineCount", 5 }, { "tinyBanner", true } }, Value(longBody), "headerLabel" },
        { {}, Value(""), "headerLabel" },
    };
    for (auto& c : cases) {
        c.preferences["timeToDismiss"] = 100;
        ControllerTestDevice test(c.preferences);
        auto controller = test.notify("n1", "Alice", c.body);
        auto banner = bannerOf(controller);
        int64_t lines = linesOf(banner, c.countedLabel);
        EXPECT_GE(lines, 1) << c.countedLabel;
        EXPECT_NEAR(slideOutTime(test, "n1", controller), 0.7 + 0.02 * static_cast<double>(lines), 1e-6)
            << c.countedLabel;
    }
}

TEST(Dismissal, aTapStartsTheSlideOutBeforeTheAppOpens)
{
    ControllerTestDevice test({ { "timeToDismiss", 100 } });
    auto controller = test.notify("n1");
    auto slidingWhenOpened = std::make_shared<std::optional<bool>>();
    Object* watched = controller.get();
    test.device().trace().addSink([slidingWhenOpened, watched](const device::Trace::Event& event) {
        if (event["type"] == "app.opened" && !slidingWhenOpened->has_value())
            *slidingWhenOpened = send<bool>(watched, SEL("isDismissing"));
    });
    tap(bannerOf(controller));
    ASSERT_TRUE(slidingWhenOpened->has_value());
    EXPECT_TRUE(**slidingWhenOpened);
    EXPECT_TRUE(flag(controller, "dismissCalled"));
}

TEST(Dismissal, afterTheSystemHasDismissedOnlyTheRequestIsNoted)
{
    ControllerTestDevice test({ { "timeToDismiss", 100 } });
    auto controller = test.notify("n1");
    tap(bannerOf(controller));
    test.advance(2);
    ASSERT_TRUE(flag(controller, "hasDismissed"));
    send(controller, SEL("setDismissCalled:"), false);
    send(controller, SEL("setAutoDimissTriggered:"), false);
    test.setHoldFlag(false);
    send(controller, SEL("forceDismissNotificationForView:"), static_cast<Object*>(nullptr));
    EXPECT_TRUE(flag(controller, "dismissCalled"));
    EXPECT_FALSE(flag(controller, "autoDimissTriggered"));
    EXPECT_FALSE(test.holdFlag());
}

TEST(Dismissal, anUnforcedAttemptWaitsForTheTimerAndForNoSlideOut)
{
    ControllerTestDevice test({ { "timeToDismiss", 100 } });
    auto controller = test.notify("n1");
    send(controller, SEL("attemptDismissNotificationForView:forced:"), static_cast<Object*>(nullptr), false);
    EXPECT_TRUE(flag(controller, "dismissCalled"));
    EXPECT_FALSE(flag(controller, "isDismissing"));
    // Without a banner there is nothing to slide out.
    send(controller, SEL("setBrixView:"), static_cast<Object*>(nullptr));
    send(controller, SEL("forceDismissNotificationForView:"), static_cast<Object*>(nullptr));
    EXPECT_FALSE(flag(controller, "isDismissing"));
}

TEST(Dismissal, theGestureHandlersMoveTheTopEdgeFromItsRestingOffset)
{
    ControllerTestDevice test({ { "timeToDismiss", 100 } });
    auto controller = test.notify("n1");
    auto banner = bannerOf(controller);
    send(controller, SEL("dismissGestureHandler:forView:animated:completion:"), -30.0, banner.get(), false,
        Block<void(bool)> {});
    EXPECT_NEAR(send<double>(banner, SEL("offset")), -100, 1e-9);

    bool finished = false;
    send(controller, SEL("dismissGestureHandler:forView:animated:duration:completion:"), 10.0, banner.get(), true, 0.5,
        Block<void(bool)>([&finished](bool value) { finished = value; }));
    test.advance(0.6);
    EXPECT_NEAR(send<double>(banner, SEL("offset")), -60, 1e-9);
    EXPECT_TRUE(finished);
}
