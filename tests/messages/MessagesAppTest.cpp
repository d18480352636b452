#include "platform/messages/MessagesApp.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

#include "platform/messages/CKConversation.h"
#include "platform/messages/CKConversationList.h"
#include "platform/messages/CKConversationListController.h"
#include "platform/messages/IMChat.h"
#include "platform/messages/IMMessage.h"
#include "platform/messages/MessagesState.h"
#include "platform/runtime/Send.h"
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
    EXPECT_EQ(send<Value>(reply, SEL("text")).string(), "On my way");
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
