#include <algorithm>

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

constexpr int64_t longTime = 100;

Value updateReply(const char* header, const char* body)
{
    Value command = Value::dictionary();
    command.set("command", "updateReply");
    command.set("header", header);
    command.set("body", body);
    return command;
}

} // namespace

TEST(CommandChannel, aNewerBannerDismissesTheOlderHalfASecondAfterItsAnnouncement)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto older = test.notify("n1", "Alice", "First");
    test.runDue();
    auto newer = test.notify("n2", "Bob", "Second");
    ASSERT_TRUE(bannerOf(newer));
    EXPECT_FALSE(flag(older, "wasExternallyDismissed"));

    test.runDue();
    EXPECT_TRUE(flag(older, "wasExternallyDismissed"));
    EXPECT_FALSE(flag(newer, "wasExternallyDismissed"));
    test.advance(0.49);
    EXPECT_FALSE(flag(older, "isDismissing"));
    test.advance(0.01);
    EXPECT_TRUE(flag(older, "isDismissing"));
    EXPECT_FALSE(flag(newer, "dismissCalled"));

    // The replaced banner leaves the screen without asking the system to end its presentation.
    test.advance(2);
    EXPECT_FALSE(bannerOf(older));
    EXPECT_TRUE(test.eventsFor("system.dismissed", "n1").empty());
    EXPECT_TRUE(bannerOf(newer));
}

TEST(CommandChannel, aBannerAlreadyLeavingIsNotDismissedAgainWhenReplaced)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto older = test.notify("n1", "Alice", "First");
    test.runDue();
    test.notify("n2", "Bob", "Second");
    tap(bannerOf(older));
    test.runDue();
    EXPECT_TRUE(flag(older, "wasExternallyDismissed"));
    EXPECT_TRUE(flag(older, "isDismissing"));
    // When the slide-out ends the banner counts as replaced: nothing is asked of the system.
    test.advance(2);
    EXPECT_FALSE(bannerOf(older));
    EXPECT_TRUE(test.eventsFor("system.dismissed", "n1").empty());
    auto words = test.recorder->words();
    EXPECT_EQ(std::count(words.begin(), words.end(), "dismissnoani"), 0);
}

TEST(CommandChannel, dismissReachesEveryBanner)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    std::vector<Controller> controllers { test.notify("n1"), test.notify("n2"), test.notify("n3") };
    for (auto& controller : controllers)
        ASSERT_TRUE(bannerOf(controller));
    test.post("dismiss");
    for (auto& controller : controllers) {
        EXPECT_TRUE(flag(controller, "dismissCalled"));
        EXPECT_TRUE(flag(controller, "isDismissing"));
    }
}

TEST(CommandChannel, dismissnoaniRemovesAHeldBannerAtOnceAndEndsThePresentation)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto controller = test.notify("n1");
    auto banner = bannerOf(controller);
    test.setHoldFlag(false);
    test.post("dismissnoani");
    EXPECT_TRUE(test.holdFlag());
    EXPECT_FALSE(bannerOf(controller));
    EXPECT_FALSE(send<Ref<Object>>(banner, SEL("superview")));
    test.advance(0.3);
    auto dismissed = test.eventsFor("system.dismissed", "n1");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["transition"], 0);
    EXPECT_TRUE(flag(controller, "hasDismissed"));
}

TEST(CommandChannel, dismissnoaniLeavesTheHoldFlagSetWithoutAnyBanner)
{
    ControllerTestDevice test;
    test.notify("n1");
    test.post("dismissnoani");
    test.setHoldFlag(false);
    test.post("dismissnoani");
    EXPECT_TRUE(test.holdFlag());
}

TEST(CommandChannel, updateReplyContinuesTheBannerOnlyForTheSameHeader)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto controller = test.notify(test.message("n1", "Alice", "Hi", "com.apple.MobileSMS"));
    auto banner = bannerOf(controller);
    ASSERT_TRUE(send<bool>(banner, SEL("canReply")));
    Value shown = ivar(banner, "body");

    test.post(updateReply("alice", "Are you there?"));
    EXPECT_EQ(ivar(banner, "body"), shown);
    test.post(updateReply("Alice", "Are you there?"));
    EXPECT_NE(ivar(banner, "body"), shown);
    EXPECT_NE(ivar(banner, "body").string().find("Are you there?"), std::string::npos);
}

TEST(CommandChannel, aControllerThatNeverAttachedABannerIgnoresCommands)
{
    ControllerTestDevice test;
    auto listed = test.showInList(test.message("n1", "Alice", "Hi"));
    ASSERT_TRUE(listed);
    test.post("dismiss");
    test.post("dismissnoani");
    EXPECT_FALSE(flag(listed, "dismissCalled"));
    test.advance(1);
    EXPECT_TRUE(test.eventsFor("system.dismissed", "n1").empty());
}

TEST(CommandChannel, unknownCommandsAndOtherNamesAreIgnored)
{
    ControllerTestDevice test({ { "timeToDismiss", longTime } });
    auto controller = test.notify("n1");
    test.post("Dismiss");
    test.post(Value::dictionary());
    auto center = send<Ref<Object>>(test.runtime().classNamed("NSNotificationCenter"), SEL("defaultCenter"));
    Value dismiss = Value::dictionary();
    dismiss.set("command", "dismiss");
    send(center, SEL("postNotificationName:object:userInfo:"), Value("OtherNotification"),
        static_cast<Object*>(nullptr), dismiss);
    send(controller, SEL("receivedBrixNotification:"),
        send<Ref<Object>>(test.runtime().classNamed("NSNotification"), SEL("notificationWithName:object:userInfo:"),
            Value("OtherNotification"), static_cast<Object*>(nullptr), dismiss)
            .get());
    EXPECT_FALSE(flag(controller, "dismissCalled"));
    EXPECT_TRUE(bannerOf(controller));
}
