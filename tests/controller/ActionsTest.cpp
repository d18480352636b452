#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

std::map<std::string, Value> settings(std::map<std::string, Value> extra = {})
{
    extra.emplace("timeToDismiss", 100);
    return extra;
}

std::vector<std::string> executedActions(ControllerTestDevice& test, const char* id)
{
    std::vector<std::string> actions;
    for (auto& event : test.eventsFor("action.executed", id))
        actions.push_back(event["action"].get<std::string>());
    return actions;
}

Controller alarm(ControllerTestDevice& test)
{
    auto contents = test.message("n1", "Alarm", "7:00", "com.apple.mobiletimer");
    contents.closeAction = test.action("stop");
    contents.supplementaryActions
        = Value::Dictionary { { "a", Value::Array { Value(test.action("MTAlarmSnoozeAction")) } } };
    return test.notify(contents);
}

} // namespace

TEST(Actions, clearingPerformsTheClearActionWhenThereIsOneAndAlwaysDismisses)
{
    ControllerTestDevice test(settings());
    auto contents = test.message("n1", "Alice", "Hi");
    contents.clearAction = test.action("clear");
    auto controller = test.notify(contents);
    send(controller, SEL("attemptDelete:"), bannerOf(controller).get());
    EXPECT_EQ(executedActions(test, "n1"), std::vector<std::string> { "clear" });
    EXPECT_EQ(test.eventsFor("action.executed", "n1")[0]["parameters"], nlohmann::ordered_json::object());
    EXPECT_EQ(test.events("feedback").size(), 1u);
    EXPECT_TRUE(flag(controller, "isDismissing"));

    test.post("dismissnoani");
    auto plain = test.notify("n2");
    send(plain, SEL("attemptDelete:"), bannerOf(plain).get());
    EXPECT_TRUE(executedActions(test, "n2").empty());
    EXPECT_EQ(test.events("feedback").size(), 1u);
    EXPECT_TRUE(flag(plain, "isDismissing"));
}

TEST(Actions, snoozeAndStopPerformTheAlarmsActions)
{
    for (uint64_t index : { uint64_t(0), uint64_t(1) }) {
        ControllerTestDevice test(settings());
        auto controller = alarm(test);
        send(controller, SEL("executeOnAlarmForView:action:"), static_cast<Object*>(nullptr), index);
        EXPECT_EQ(
            executedActions(test, "n1"), std::vector<std::string> { index == 0 ? "MTAlarmSnoozeAction" : "stop" });
        EXPECT_EQ(test.events("feedback").size(), 1u);
        EXPECT_TRUE(flag(controller, "isDismissing"));
    }
}

// Nothing performed, nothing confirmed: the banner still goes.
TEST(Actions, anAlarmActionBeyondTheListPerformsNothingButStillDismisses)
{
    for (uint64_t index : { uint64_t(2), uint64_t(1) << 63, ~uint64_t(0) }) {
        ControllerTestDevice test(settings());
        auto controller = alarm(test);
        send(controller, SEL("executeOnAlarmForView:action:"), bannerOf(controller).get(), index);
        EXPECT_TRUE(executedActions(test, "n1").empty());
        EXPECT_TRUE(test.events("feedback").empty());
        EXPECT_TRUE(flag(controller, "isDismissing"));
    }
}

TEST(Actions, aReplyGoesThroughTheReplyActionThenClears)
{
    ControllerTestDevice test(settings());
    auto contents = test.message("n1", "Alice", "Hi", "net.whatsapp.WhatsApp");
    contents.clearAction = test.action("clear");
    contents.supplementaryActions = Value::Dictionary { { "default", Value::Array { Value(test.action("reply")) } } };
    auto controller = test.notify(contents);
    send(controller, SEL("sendReplyForView:withText:"), bannerOf(controller).get(), Value("On my way"));
    EXPECT_EQ(executedActions(test, "n1"), (std::vector<std::string> { "reply", "clear" }));
    auto parameters = test.eventsFor("action.executed", "n1")[0]["parameters"];
    EXPECT_EQ(parameters["UIUserNotificationActionResponseTypedTextKey"], "On my way");
    EXPECT_TRUE(flag(controller, "isDismissing"));

    // A reply without text is dropped.
    send(controller, SEL("sendReplyForView:withText:"), bannerOf(controller).get(), Value());
    EXPECT_EQ(executedActions(test, "n1").size(), 2u);
}

TEST(Actions, aReplyWithoutAReplyActionIsHandedToMessagesOnTheNextTurn)
{
    ControllerTestDevice test(settings());
    // Identities only: the hook outlives the test's objects until the run time goes.
    auto received = std::make_shared<std::vector<std::pair<const Object*, Value>>>();
    auto* cls = test.runtime().classNamed("NCNotificationShortLookViewController");
    test.runtime().hookMessage(*cls, SEL("sendMessageReplyForView:withText:"),
        runtime::Imp::of(
            [received](Object*, Selector, Object* banner, Value text) { received->emplace_back(banner, text); }));
    auto controller = test.notify(test.message("n1", "Alice", "Hi", "com.apple.MobileSMS"));
    auto banner = bannerOf(controller);
    send(controller, SEL("sendReplyForView:withText:"), banner.get(), Value("On my way"));
    EXPECT_TRUE(received->empty());
    test.runDue();
    ASSERT_EQ(received->size(), 1u);
    EXPECT_EQ(received->front().first, banner.get());
    EXPECT_EQ(received->front().second, Value("On my way"));
    EXPECT_TRUE(executedActions(test, "n1").empty());

    // A controller gone by the next turn hears nothing.
    auto request = test.request(test.message("n2", "Bob", "Hi", "com.apple.MobileSMS"));
    auto gone = send<Ref<Object>>(runtime::alloc(cls), SEL("initWithNotificationRequest:"), request.get());
    send(gone, SEL("sendReplyForView:withText:"), static_cast<Object*>(nullptr), Value("Later"));
    gone = nullptr;
    test.runDue();
    EXPECT_EQ(received->size(), 1u);
}

TEST(Actions, silencingPerformsTheSilenceActionAndKeepsTheBanner)
{
    ControllerTestDevice test(settings());
    auto contents = test.message("n1", "Alice", "Hi");
    contents.silenceAction = test.action("silence");
    auto controller = test.notify(contents);
    send(controller, SEL("attemptSilence:"), static_cast<Object*>(nullptr));
    EXPECT_EQ(executedActions(test, "n1"), std::vector<std::string> { "silence" });
    EXPECT_EQ(test.events("feedback").size(), 1u);
    EXPECT_FALSE(flag(controller, "dismissCalled"));
}

TEST(Actions, feedbackFollowsTheDevicesSupportLevel)
{
    struct Case {
        int64_t level;
        const char* kind;
        int value;
    };
    for (Case c : { Case { 2, "notification", 0 }, Case { 1, "systemSound", 1520 }, Case { 0, "alertSound", 4095 } }) {
        device::Hardware hardware;
        hardware.feedbackSupportLevel = c.level;
        ControllerTestDevice test(settings(), hardware);
        auto contents = test.message("n1", "Alice", "Hi");
        contents.clearAction = test.action("clear");
        auto controller = test.notify(contents);
        send(controller, SEL("attemptDelete:"), static_cast<Object*>(nullptr));
        auto feedback = test.events("feedback");
        ASSERT_EQ(feedback.size(), 1u) << c.level;
        EXPECT_EQ(feedback[0]["kind"], c.kind);
        EXPECT_EQ(feedback[0]["value"], c.value);
    }
}

TEST(Actions, noFeedbackWhenTheUserTurnedItOff)
{
    ControllerTestDevice test(settings({ { "vibrate_on_send", false } }));
    auto contents = test.message("n1", "Alice", "Hi");
    contents.clearAction = test.action("clear");
    contents.silenceAction = test.action("silence");
    auto controller = test.notify(contents);
    send(controller, SEL("attemptSilence:"), static_cast<Object*>(nullptr));
    send(controller, SEL("attemptDelete:"), static_cast<Object*>(nullptr));
    send(controller, SEL("executeOnAlarmForView:action:"), static_cast<Object*>(nullptr), uint64_t(0));
    EXPECT_EQ(executedActions(test, "n1").size(), 2u);
    EXPECT_TRUE(test.events("feedback").empty());
}
