#include "platform/messages/ConversationStore.h"

#include "tests/controller/ControllerTestDevice.h"

using namespace controllertest;

namespace {

constexpr const char* messagesApp = "com.apple.MobileSMS";
constexpr const char* replyName = "com.mavrel.brix.receivedcontacts";
constexpr const char* readName = "com.mavrel.brix.markAsRead";
constexpr const char* alice = "iMessage;-;+15551234567";
constexpr const char* bob = "iMessage;-;+15557654321";

std::map<std::string, Value> settings(int64_t autoReadMode = 2)
{
    return { { "timeToDismiss", 100 }, { "messagesAutoReadMode", autoReadMode } };
}

// The conversations the Messages app finds when it starts.
void storeConversations(ControllerTestDevice& test, const std::vector<std::string>& guids = { bob, alice })
{
    ASSERT_TRUE(messages::ConversationStore(test.device()).save(guids));
}

Controller messagesBanner(ControllerTestDevice& test, std::string id, Value thread = "+15551234567")
{
    auto contents = test.message(std::move(id), "Alice", "Are you coming?", messagesApp);
    contents.threadIdentifier = std::move(thread);
    return test.notify(contents);
}

void reply(const Controller& controller, const char* text)
{
    send(controller, SEL("sendMessageReplyForView:withText:"), bannerOf(controller).get(), Value(text));
}

// A request as the home screen posts it; nil values are left out.
void post(ControllerTestDevice& test, const char* name, Value identifier, Value brixIdentifier, Value body = {})
{
    Value userInfo = Value::dictionary();
    std::vector<std::pair<const char*, Value>> entries { { "identifier", identifier },
        { "brixIdentifier", brixIdentifier }, { "body", body } };
    for (auto& [key, value] : entries) {
        if (!value.isNil())
            userInfo.set(key, value);
    }
    test.device().distributedCenter().post(name, userInfo);
}

// What the Messages app sent, as "chat: text", and the chats it marked as read.
std::vector<std::string> sent(ControllerTestDevice& test)
{
    std::vector<std::string> result;
    for (auto& event : test.events("messages.sent")) {
        EXPECT_EQ(event["flags"], 100005);
        result.push_back(event["chat"].get<std::string>() + ": " + event["text"].get<std::string>());
    }
    return result;
}
std::vector<std::string> receipts(ControllerTestDevice& test)
{
    std::vector<std::string> result;
    for (auto& event : test.events("messages.readReceipt"))
        result.push_back(event["chat"].get<std::string>());
    return result;
}

bool isRequest(const device::Trace::Event& event)
{
    return event["type"] == "distributed.posted" && (event["name"] == replyName || event["name"] == readName);
}

// The replies and read requests posted system-wide (the preference library posts too).
std::vector<device::Trace::Event> requests(ControllerTestDevice& test)
{
    std::vector<device::Trace::Event> result;
    for (auto& event : test.device().trace().events()) {
        if (isRequest(event))
            result.push_back(event);
    }
    return result;
}

// The types of the events traced from `start` on that concern Messages.
std::vector<std::string> messagesEvents(ControllerTestDevice& test, size_t start = 0)
{
    std::vector<std::string> result;
    auto& events = test.device().trace().events();
    for (size_t index = start; index < events.size(); ++index) {
        auto type = events[index]["type"].get<std::string>();
        if (type.starts_with("messages.") || type == "app.launched" || isRequest(events[index]))
            result.push_back(type);
    }
    return result;
}

size_t observers(ControllerTestDevice& test)
{
    return test.device().distributedCenter().observerCount();
}

} // namespace

TEST(MessagesReply, startsMessagesAndIsSentInTheConversationOfItsThread)
{
    ControllerTestDevice test(settings());
    storeConversations(test);
    auto controller = messagesBanner(test, "n1");
    Value brixIdentifier = send<Value>(controller, SEL("brixIdentifier"));
    ASSERT_TRUE(brixIdentifier.isString());
    ASSERT_EQ(test.device().process(messagesApp), nullptr);
    size_t start = test.device().trace().events().size();

    reply(controller, "On my way");
    // Messages has started before the request went out; the banner leaves.
    ASSERT_NE(test.device().process(messagesApp), nullptr);
    auto launched = test.events("app.launched");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0]["bundleId"], messagesApp);
    EXPECT_EQ(launched[0]["suspended"], true);
    EXPECT_EQ(launched[0]["result"], "started");
    auto posted = requests(test);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0]["name"], replyName);
    EXPECT_EQ(posted[0]["userInfo"],
        (nlohmann::ordered_json { { "body", "On my way" }, { "brixIdentifier", brixIdentifier.string() },
            { "identifier", "+15551234567" } }));
    EXPECT_EQ(test.events("feedback").size(), 1u);
    EXPECT_TRUE(flag(controller, "isDismissing"));
    EXPECT_TRUE(sent(test).empty());

    test.runDue();
    EXPECT_EQ(sent(test), std::vector<std::string> { std::string(alice) + ": On my way" });
    EXPECT_EQ(receipts(test), std::vector<std::string> { alice });
    EXPECT_EQ(messagesEvents(test, start),
        (std::vector<std::string> { "app.launched", "distributed.posted", "messages.sent", "messages.readReceipt" }));
}

TEST(MessagesReply, oneReplyHeardTwiceIsSentOnceAndRepliesOfTwoBannersAreBothSent)
{
    ControllerTestDevice test(settings(0));
    storeConversations(test);
    test.device().launch(messagesApp);
    post(test, replyName, "+15551234567", "abcdefgh", "Hi");
    post(test, replyName, "+15551234567", "abcdefgh", "Hi");
    test.runDue();
    EXPECT_EQ(sent(test).size(), 1u);

    // Two banners of one conversation have their own identifiers.
    auto first = messagesBanner(test, "n1");
    auto second = messagesBanner(test, "n2");
    reply(first, "One");
    reply(second, "Two");
    test.runDue();
    std::string chat(alice);
    EXPECT_EQ(sent(test), (std::vector<std::string> { chat + ": Hi", chat + ": One", chat + ": Two" }));
    EXPECT_TRUE(receipts(test).empty());
}

TEST(MessagesReply, aThreadContainedInSeveralChatGuidsPicksTheFirstConversation)
{
    ControllerTestDevice test(settings(0));
    storeConversations(test, { "SMS;-;+15551234567", alice, "iMessage;-;+15550000000" });
    test.device().launch(messagesApp);
    post(test, replyName, "+15551234567", "a", "First");
    post(test, replyName, "iMessage", "b", "Second");
    // The test is exact and case-sensitive; nothing contains an empty or a missing thread.
    post(test, replyName, "imessage", "c", "Lost");
    post(test, replyName, "", "d", "Lost");
    post(test, replyName, {}, "e", "Lost");
    post(test, replyName, 15551234567, "f", "Lost");
    // A reply without text sends nothing.
    post(test, replyName, "+15551234567", "g");
    test.runDue();
    EXPECT_EQ(sent(test), (std::vector<std::string> { "SMS;-;+15551234567: First", std::string(alice) + ": Second" }));
    EXPECT_TRUE(test.events("messages.refused").empty());
}

TEST(MessagesReadReceipts, modeTwoReadsAfterAReplyAndNotOnOpening)
{
    ControllerTestDevice test(settings(2));
    storeConversations(test);
    auto controller = messagesBanner(test, "n1");
    drag(bannerOf(controller), { 0 });
    drag(bannerOf(controller), { 5 });
    test.runDue();
    EXPECT_TRUE(messagesEvents(test).empty());
    EXPECT_EQ(test.device().process(messagesApp), nullptr);

    size_t start = test.device().trace().events().size();
    reply(controller, "On my way");
    test.runDue();
    EXPECT_EQ(messagesEvents(test, start),
        (std::vector<std::string> { "app.launched", "distributed.posted", "messages.sent", "messages.readReceipt" }));
    EXPECT_EQ(receipts(test), std::vector<std::string> { alice });
}

TEST(MessagesReadReceipts, modeOneReadsOnOpeningAndNotAfterAReply)
{
    ControllerTestDevice test(settings(1));
    storeConversations(test);
    auto controller = messagesBanner(test, "n1");
    Value brixIdentifier = send<Value>(controller, SEL("brixIdentifier"));
    drag(bannerOf(controller), { 0 });
    ASSERT_NE(test.device().process(messagesApp), nullptr);
    auto posted = requests(test);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0]["name"], readName);
    EXPECT_EQ(posted[0]["userInfo"],
        (nlohmann::ordered_json { { "brixIdentifier", brixIdentifier.string() }, { "identifier", "+15551234567" } }));
    EXPECT_TRUE(test.events("feedback").empty());
    EXPECT_FALSE(flag(controller, "isDismissing"));
    test.runDue();
    EXPECT_EQ(receipts(test), std::vector<std::string> { alice });

    reply(controller, "On my way");
    test.runDue();
    EXPECT_EQ(sent(test), std::vector<std::string> { std::string(alice) + ": On my way" });
    EXPECT_EQ(receipts(test).size(), 1u);
}

TEST(MessagesReadReceipts, theMessagesSideHonoursAReadRequestOnlyInModeOne)
{
    for (int64_t mode : { int64_t(0), int64_t(2), int64_t(3) }) {
        ControllerTestDevice test(settings(mode));
        storeConversations(test);
        test.device().launch(messagesApp);
        post(test, readName, "+15551234567", "abcdefgh");
        test.runDue();
        EXPECT_TRUE(receipts(test).empty()) << mode;
    }
    ControllerTestDevice test(settings(1));
    storeConversations(test);
    test.device().launch(messagesApp);
    post(test, readName, "+15551234567", {}); // the identifier of the banner is not compared
    post(test, readName, "+15559999999", "abcdefgh"); // no such conversation
    test.runDue();
    EXPECT_EQ(receipts(test), std::vector<std::string> { alice });
}

TEST(MessagesReply, aControllerWithoutARequestPostsNothingAndKeepsItsBanner)
{
    ControllerTestDevice test(settings(1));
    storeConversations(test);
    auto controller = messagesBanner(test, "n1");
    auto banner = bannerOf(controller);
    send(controller, SEL("setNotificationRequest:"), static_cast<Object*>(nullptr));
    reply(controller, "On my way");
    send(controller, SEL("markMessagesAsRead"));
    test.advance(1);
    EXPECT_TRUE(messagesEvents(test).empty());
    EXPECT_TRUE(test.events("feedback").empty());
    EXPECT_EQ(bannerOf(controller).get(), banner.get());
    EXPECT_FALSE(flag(controller, "isDismissing"));
    EXPECT_EQ(test.device().process(messagesApp), nullptr);

    // A request without a thread still goes out, and no conversation matches it.
    auto unthreaded = messagesBanner(test, "n2", Value());
    reply(unthreaded, "Hello");
    test.runDue();
    auto posted = requests(test);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_FALSE(posted[0]["userInfo"].contains("identifier"));
    EXPECT_TRUE(sent(test).empty());
}

TEST(MessagesConversationList, observesFromItsViewLoadingUntilItsDeallocAndAfterARestart)
{
    ControllerTestDevice test(settings(0));
    storeConversations(test);
    size_t withoutMessages = observers(test);
    auto& messages = test.device().launch(messagesApp);
    // The app's preference library observes as well.
    size_t withMessages = observers(test);
    EXPECT_GE(withMessages, withoutMessages + 2);

    // Another list observes once its view has loaded, and stops when it goes.
    auto list = runtime::newObject(messages.runtime().classNamed("CKConversationListController"));
    post(test, replyName, "+15551234567", "a", "One");
    test.runDue();
    EXPECT_EQ(sent(test).size(), 1u);
    send<Ref<Object>>(list, SEL("view"));
    EXPECT_EQ(observers(test), withMessages + 2);
    post(test, replyName, "+15551234567", "b", "Two");
    test.runDue();
    EXPECT_EQ(sent(test).size(), 3u); // each list sends the replies it hears
    EXPECT_EQ(send<Value>(list, SEL("brixIdentifier")), Value("b"));
    list = nullptr;
    EXPECT_EQ(observers(test), withMessages);
    post(test, replyName, "+15551234567", "c", "Three");
    test.runDue();
    EXPECT_EQ(sent(test).size(), 4u);

    // Quit, Messages hears nothing; a reply starts it again and is sent.
    test.device().terminate(messagesApp);
    EXPECT_EQ(observers(test), withoutMessages);
    post(test, replyName, "+15551234567", "d", "Lost");
    test.runDue();
    EXPECT_EQ(sent(test).size(), 4u);
    auto controller = messagesBanner(test, "n1");
    reply(controller, "Back");
    EXPECT_EQ(observers(test), withMessages);
    test.runDue();
    EXPECT_EQ(sent(test).back(), std::string(alice) + ": Back");
    EXPECT_EQ(sent(test).size(), 5u);
}
