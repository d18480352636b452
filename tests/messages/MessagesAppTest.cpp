#include "platform/messages/MessagesApp.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

#include "platform/messages/CKConversation.h"
#include "platform/messages/CKConversationList.h"
#include "platform/messages/CKConversationListController.h"
#include "platform/messages/ConversationStore.h"
#include "platform/messages/IMChat.h"
#include "platform/messages/IMMessage.h"
#include "platform/messages/MessagesState.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"

#include "tests/support/TempDirectory.h"

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

// A device that knows the Messages app; `beforeStartUp` runs where a plug-in would load.
class MessagesTestDevice {
public:
    explicit MessagesTestDevice(std::function<void(device::Process&)> beforeStartUp = {})
        : m_device(std::make_unique<device::Device>(m_root.path()))
    {
        auto app = messages::appDefinition();
        app.defineClasses = [beforeStartUp](device::Process& process) {
            messages::defineClasses(process);
            if (beforeStartUp)
                beforeStartUp(process);
        };
        m_device->defineApp(app);
    }

    device::Device& device() { return *m_device; }
    device::Process& messagesApp() { return m_device->launch(messages::bundleIdentifier); }

private:
    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
};

Ref<Object> sharedRegistry(device::Process& process)
{
    return send<Ref<Object>>(process.runtime().classNamed("IMChatRegistry"), SEL("sharedInstance"));
}

Ref<Object> message(device::Process& process, const char* text)
{
    return send<Ref<Object>>(
        process.runtime().classNamed("IMMessage"), SEL("instantMessageWithText:flags:"), Value(text), uint64_t(100005));
}

} // namespace

TEST(MessagesStartUp, loadsTheConversationListWhereHooksInstalledBeforehandSeeIt)
{
    auto calls = std::make_shared<std::map<std::string, int>>();
    MessagesTestDevice test([calls](device::Process& process) {
        auto& runtime = process.runtime();
        auto& cls = *runtime.classNamed("CKConversationListController");
        for (const char* name : { "viewDidLoad", "dealloc" }) {
            auto previous = std::make_shared<Imp>();
            *previous = runtime.hookMessage(
                cls, Selector::named(name), Imp::of([calls, previous, name](Object* self, Selector sel) {
                    ++(*calls)[name];
                    (*previous)(self, sel);
                }));
        }
    });
    {
        auto& process = test.messagesApp();
        EXPECT_EQ((*calls)["viewDidLoad"], 1);

        auto& objects = messages::MessagesState::of(process).startUpObjects();
        auto* controller = objects.conversationListController.get();
        ASSERT_NE(controller, nullptr);
        EXPECT_TRUE(controller->isViewLoaded());
        auto* listClass = process.runtime().classNamed("CKConversationList");
        EXPECT_EQ(controller->conversationList(), send<Ref<Object>>(listClass, SEL("sharedConversationList")).get());
        auto* applicationClass = process.runtime().classNamed("UIApplication");
        EXPECT_EQ(send<Ref<Object>>(applicationClass, SEL("sharedApplication")).get(), objects.application.get());
        EXPECT_TRUE(send<bool>(objects.window.get(), SEL("isKeyWindow")));
    }
    test.device().terminate(messages::bundleIdentifier);
    EXPECT_EQ((*calls)["dealloc"], 1);
}

TEST(MessagesConversations, areListedInOrderAndKeepOneConversationPerChat)
{
    MessagesTestDevice test;
    auto& process = test.messagesApp();
    auto first = messages::addConversation(process, "iMessage;-;+15551234567");
    auto second = messages::addConversation(process, "iMessage;-;+15557654321");
    EXPECT_EQ(messages::addConversation(process, "iMessage;-;+15551234567").get(), first.get());

    auto list = send<Ref<Object>>(process.runtime().classNamed("CKConversationList"), SEL("sharedConversationList"));
    auto conversations = send<Value>(list, SEL("conversations"));
    ASSERT_EQ(conversations.count(), 2u);
    EXPECT_EQ(conversations[0].object(), first.get());
    auto chat = send<Ref<Object>>(conversations[1].object(), SEL("chat"));
    EXPECT_EQ(send<Value>(chat, SEL("guid")).string(), "iMessage;-;+15557654321");
    EXPECT_EQ(send<Ref<Object>>(sharedRegistry(process), SEL("existingChatWithGUID:"), Value("iMessage;-;+15557654321"))
                  .get(),
        chat.get());
    EXPECT_EQ(send<Value>(sharedRegistry(process), SEL("allExistingChats")).count(), 2u);
}

TEST(MessagesChatRegistry, sendsMessagesAndReadReceiptsInAChat)
{
    MessagesTestDevice test;
    auto& process = test.messagesApp();
    auto conversation = messages::addConversation(process, "iMessage;-;+15551234567");
    auto* chat = conversation->chat();
    chat->setUnreadMessageCount(3);
    auto registry = sharedRegistry(process);

    auto reply = message(process, "On my way");
    EXPECT_EQ(send<Value>(send<Ref<Object>>(reply, SEL("text")), SEL("string")).string(), "On my way");
    EXPECT_EQ(send<uint64_t>(reply, SEL("flags")), 100005u);
    send(registry, SEL("_chat:sendMessage:"), static_cast<Object*>(chat), reply.get());
    send(registry, SEL("_chat:sendMessage:"), static_cast<Object*>(nullptr), reply.get()); // no chat, nothing sent
    ASSERT_EQ(chat->sentMessages().size(), 1u);
    EXPECT_EQ(chat->sentMessages()[0].get(), reply.get());
    auto sent = test.device().trace().eventsOfType("messages.sent");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]["chat"], "iMessage;-;+15551234567");
    EXPECT_EQ(sent[0]["text"], "On my way");
    EXPECT_EQ(sent[0]["flags"], 100005);

    send(registry, SEL("_chat_sendReadReceiptForAllMessages:"), static_cast<Object*>(chat));
    EXPECT_EQ(send<int64_t>(chat, SEL("unreadMessageCount")), 0);
    auto receipts = test.device().trace().eventsOfType("messages.readReceipt");
    ASSERT_EQ(receipts.size(), 1u);
    EXPECT_EQ(receipts[0]["chat"], "iMessage;-;+15551234567");
}

TEST(MessagesConversationStore, listsTheStoredConversationsInOrderAtStartUp)
{
    MessagesTestDevice test;
    messages::ConversationStore store(test.device());
    EXPECT_TRUE(store.load().value().empty()); // no file yet
    std::vector<std::string> guids { "SMS;-;+15557654321", "iMessage;-;+15551234567", "SMS;-;+15557654321" };
    ASSERT_TRUE(store.save(guids));
    EXPECT_EQ(store.load().value(), guids);
    EXPECT_FALSE(store.save({ "iMessage;-;a", "" }));
    EXPECT_EQ(store.load().value(), guids); // the refused list changed nothing

    auto& process = test.messagesApp();
    auto* list = messages::MessagesState::of(process).conversationList();
    ASSERT_EQ(list->conversations().size(), 2u); // one conversation per chat
    EXPECT_EQ(list->conversations()[0]->chat()->guid().string(), "SMS;-;+15557654321");
    EXPECT_EQ(list->conversations()[1]->chat()->guid().string(), "iMessage;-;+15551234567");
    // The list controller shows them from its first load on.
    auto& objects = messages::MessagesState::of(process).startUpObjects();
    EXPECT_EQ(objects.conversationListController.get()->conversationList(), list);
    EXPECT_TRUE(test.device().trace().eventsOfType("messages.storeUnreadable").empty());
}

TEST(MessagesConversationStore, aDamagedStoreIsReportedAndLeftAlone)
{
    struct Case {
        const char* contents;
        const char* reason;
    };
    const char* plist = R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">%s</plist>)";
    auto wrap = [plist](const char* body) {
        std::string text(plist);
        return text.replace(text.find("%s"), 2, body);
    };
    for (const Case& c : {
             Case { "not a property list", messages::ConversationStore::devicePath },
             Case { "", messages::ConversationStore::devicePath },
             Case { "<dict/>", "must hold an array of conversations" },
             Case { "<array><dict><key>guid</key><string>SMS;-;1</string></dict><dict/></array>",
                 "conversation 1 has no \"guid\" string" },
             Case { "<array><dict><key>guid</key><integer>5</integer></dict></array>",
                 "conversation 0 has no \"guid\" string" },
         }) {
        MessagesTestDevice test;
        auto path = test.device().hostPath(messages::ConversationStore::devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::string contents = std::string(c.contents).starts_with("<") ? wrap(c.contents) : c.contents;
        std::ofstream(path, std::ios::binary) << contents;

        auto loaded = messages::ConversationStore(test.device()).load();
        ASSERT_FALSE(loaded) << c.contents;
        EXPECT_NE(loaded.error().message.find(c.reason), std::string::npos) << loaded.error().message;

        auto& process = test.messagesApp();
        EXPECT_TRUE(messages::MessagesState::of(process).conversationList()->conversations().empty());
        auto reported = test.device().trace().eventsOfType("messages.storeUnreadable");
        ASSERT_EQ(reported.size(), 1u) << c.contents;
        EXPECT_EQ(reported[0]["path"], messages::ConversationStore::devicePath);
        std::ifstream file(path, std::ios::binary);
        std::string kept((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(kept, contents);
    }
}

TEST(MessagesMessage, keepsACopyOfItsAttributedText)
{
    MessagesTestDevice test;
    auto& process = test.messagesApp();
    auto& runtime = process.runtime();
    auto* messageClass = runtime.classNamed("IMMessage");
    auto text = send<Ref<Object>>(
        runtime::alloc(runtime.classNamed("NSMutableAttributedString")), SEL("initWithString:"), Value("On my"));
    auto made = send<Ref<Object>>(messageClass, SEL("instantMessageWithText:flags:"), text.get(), uint64_t(100005));
    auto* message = dynamic_cast<messages::IMMessage*>(made.get());
    ASSERT_NE(message, nullptr);
    auto appended = uikit::NSAttributedString::make(runtime, " way");
    send(text, SEL("appendAttributedString:"), appended.get());
    EXPECT_EQ(message->plainText(), "On my");
    EXPECT_NE(static_cast<Object*>(message->text()), text.get());
    EXPECT_EQ(send<uint64_t>(made, SEL("flags")), 100005u);

    // A plain string is text without attributes; anything else makes no message.
    auto plain = send<Ref<Object>>(messageClass, SEL("instantMessageWithText:flags:"), Value("Hi"), uint64_t(0));
    ASSERT_TRUE(plain);
    EXPECT_EQ(dynamic_cast<messages::IMMessage*>(plain.get())->plainText(), "Hi");
    EXPECT_FALSE(send<Ref<Object>>(messageClass, SEL("instantMessageWithText:flags:"), Value(), uint64_t(0)));
    EXPECT_FALSE(send<Ref<Object>>(messageClass, SEL("instantMessageWithText:flags:"), Value(5), uint64_t(0)));
    EXPECT_FALSE(send<Ref<Object>>(messageClass, SEL("instantMessageWithText:flags:"),
        send<Ref<Object>>(runtime.classNamed("UIApplication"), SEL("sharedApplication")).get(), uint64_t(0)));
}

TEST(MessagesChatRegistry, refusesToSendWithoutAChatOrAMessageAndSaysWhy)
{
    MessagesTestDevice test;
    auto& process = test.messagesApp();
    auto chat = messages::addConversation(process, "iMessage;-;+15551234567")->chat();
    auto registry = sharedRegistry(process);
    Object* none = nullptr;
    send(registry, SEL("_chat:sendMessage:"), static_cast<Object*>(chat), none);
    send(registry, SEL("_chat:sendMessage:"), none, message(process, "Hi").get());
    send(registry, SEL("_chat_sendReadReceiptForAllMessages:"), none);
    EXPECT_TRUE(test.device().trace().eventsOfType("messages.sent").empty());
    EXPECT_TRUE(test.device().trace().eventsOfType("messages.readReceipt").empty());
    auto refused = test.device().trace().eventsOfType("messages.refused");
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[0]["operation"], "_chat:sendMessage:");
    EXPECT_EQ(refused[0]["reason"], "no message to send");
    EXPECT_EQ(refused[1]["reason"], "no chat to send in");
    EXPECT_EQ(refused[2]["operation"], "_chat_sendReadReceiptForAllMessages:");
    EXPECT_TRUE(chat->sentMessages().empty());
}
