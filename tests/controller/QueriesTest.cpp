#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

// A banner controller for the request whose view has not been loaded yet.
Ref<Object> controllerFor(ControllerTestDevice& test, NCNotificationRequest::Contents contents)
{
    auto request = test.request(std::move(contents));
    return send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("NCNotificationShortLookViewController")),
        SEL("initWithNotificationRequest:"), request.get());
}

Value actionList(std::initializer_list<Ref<NCNotificationAction>> actions)
{
    Value list = Value::array();
    for (auto& action : actions)
        list.append(Value(action));
    return list;
}

} // namespace

TEST(ControllerQueries, replyActionsAreFoundByWordsInTheirIdentifierIgnoringCase)
{
    ControllerTestDevice test;
    auto replyWith = [&](const char* identifier) {
        auto contents = test.message("n1", "Alice", "Hi");
        contents.supplementaryActions = Value::Dictionary { { "default", actionList({ test.action(identifier) }) } };
        auto controller = controllerFor(test, contents);
        return send<Value>(send<Ref<Object>>(controller, SEL("getReplyAction")), SEL("identifier")).string();
    };
    EXPECT_EQ(replyWith("com.example.Reply"), "com.example.Reply");
    EXPECT_EQ(replyWith("SEND-NOW"), "SEND-NOW");
    EXPECT_EQ(replyWith("new-Message"), "new-Message");
    EXPECT_EQ(replyWith("respond"), "");
}

TEST(ControllerQueries, theFirstKeyWithAMatchWinsAndEmptyArraysAreSkipped)
{
    ControllerTestDevice test;
    auto contents = test.message("n1", "Alice", "Hi");
    contents.supplementaryActions = Value::Dictionary {
        { "a", Value::array() },
        { "b", actionList({ test.action("respond"), test.action("quick-reply"), test.action("send") }) },
        { "c", actionList({ test.action("reply-c") }) },
    };
    auto controller = controllerFor(test, contents);
    auto action = send<Ref<Object>>(controller, SEL("getReplyAction"));
    EXPECT_EQ(send<Value>(action, SEL("identifier")).string(), "quick-reply");
    EXPECT_TRUE(send<bool>(controller, SEL("canReply")));
}

TEST(ControllerQueries, repliesNeedAReplyActionExceptInMessages)
{
    ControllerTestDevice test;
    EXPECT_FALSE(send<bool>(controllerFor(test, test.message("n1", "Alice", "Hi")), SEL("canReply")));
    auto messages = controllerFor(test, test.message("n2", "Alice", "Hi", "com.apple.MobileSMS"));
    EXPECT_TRUE(send<bool>(messages, SEL("canReply")));
    EXPECT_EQ(send<Ref<Object>>(messages, SEL("getReplyAction")), nullptr);

    // A request the system cannot show (no app) offers no reply action at all.
    auto orphan = test.message("n3", "Alice", "Hi", "");
    orphan.sectionIdentifier = Value();
    orphan.supplementaryActions = Value::Dictionary { { "default", actionList({ test.action("reply") }) } };
    EXPECT_FALSE(send<bool>(controllerFor(test, orphan), SEL("canReply")));
}

TEST(ControllerQueries, alarmActionsAreTheSnoozeInFirstPlaceThenTheCloseAction)
{
    ControllerTestDevice test;
    auto alarm = [&](Value supplementary) {
        auto contents = test.message("n1", "Alarm", "7:00", "com.apple.mobiletimer");
        contents.closeAction = test.action("stop");
        contents.supplementaryActions = std::move(supplementary);
        return controllerFor(test, contents);
    };
    auto identifiers = [](Object* controller) {
        std::vector<std::string> result;
        Value actions = send<Value>(controller, SEL("getAlarmActions"));
        for (auto& item : actions.items())
            result.push_back(send<Value>(item.object(), SEL("identifier")).string());
        return result;
    };

    auto snoozable = alarm(Value::Dictionary {
        { "a", actionList({ test.action("other") }) },
        { "b", actionList({ test.action("com.apple.MTAlarmSnoozeAction") }) },
    });
    EXPECT_TRUE(send<bool>(snoozable, SEL("isAlarm")));
    EXPECT_EQ(identifiers(snoozable), (std::vector<std::string> { "com.apple.MTAlarmSnoozeAction", "stop" }));

    auto snoozeSecond = alarm(Value::Dictionary {
        { "a", actionList({ test.action("other"), test.action("MTAlarmSnoozeAction") }) },
    });
    EXPECT_EQ(identifiers(snoozeSecond), (std::vector<std::string> { "stop" }));

    // The identifier is compared with its letter case.
    auto lowercase = alarm(Value::Dictionary { { "a", actionList({ test.action("mtalarmsnoozeaction") }) } });
    EXPECT_EQ(identifiers(lowercase), (std::vector<std::string> { "stop" }));

    EXPECT_FALSE(send<bool>(controllerFor(test, test.message("n2", "Alice", "Hi")), SEL("isAlarm")));
}

TEST(ControllerQueries, answersWithoutARequest)
{
    ControllerTestDevice test;
    auto controller = runtime::newObject(test.runtime().classNamed("NCNotificationShortLookViewController"));
    EXPECT_TRUE(send<Value>(controller, SEL("getBundleId")).isNil());
    EXPECT_FALSE(send<bool>(controller, SEL("isAlarm")));
    EXPECT_FALSE(send<bool>(controller, SEL("canReply")));
    EXPECT_TRUE(send<Value>(controller, SEL("getAlarmActions")).isNil());
    EXPECT_TRUE(send<bool>(controller, SEL("shouldAutoDismiss")));
    EXPECT_FALSE(send<bool>(controller, SEL("isPartOfBanner")));
}

TEST(ControllerQueries, autoDismissFollowsTheRequestsOptions)
{
    ControllerTestDevice test;
    auto contents = test.message("n1", "Alice", "Hi");
    EXPECT_EQ(send<Value>(controllerFor(test, contents), SEL("getBundleId")).string(), "com.example.chat");
    EXPECT_TRUE(send<bool>(controllerFor(test, contents), SEL("shouldAutoDismiss")));
    contents.dismissAutomatically = false;
    EXPECT_FALSE(send<bool>(controllerFor(test, contents), SEL("shouldAutoDismiss")));
    // A request without options counts as dismissing automatically.
    contents.hasOptions = false;
    EXPECT_TRUE(send<bool>(controllerFor(test, contents), SEL("shouldAutoDismiss")));
}

TEST(ControllerQueries, onlyAControllerInTheBannerWindowIsPartOfABanner)
{
    ControllerTestDevice test;
    auto banner = test.notify("n1");
    auto listed = test.showInList(test.message("n2", "Bob", "Later"));
    ASSERT_TRUE(banner && listed);
    EXPECT_TRUE(send<bool>(banner, SEL("isPartOfBanner")));
    EXPECT_FALSE(send<bool>(listed, SEL("isPartOfBanner")));
}
