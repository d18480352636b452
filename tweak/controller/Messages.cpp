// Replies to Messages notifications and their read receipts travel from the
// home screen to the Messages app. The home screen's banner controller starts
// Messages in the background and posts the request system-wide; inside
// Messages, the conversation list hears it, finds the conversation whose chat
// guid contains the notification's thread and sends through the app's chat
// service. Each process reads `messagesAutoReadMode` itself.

#include "tweak/Brix.h"
#include "tweak/controller/BannerController.h"
#include "tweak/controller/ControllerHooks.h"

namespace brix::controller {

using runtime::Selector;
using runtime::send;
using runtime::sendIfResponds;

namespace {

    constexpr std::string_view messagesBundleId = "com.apple.MobileSMS";
    constexpr std::string_view replyNotificationName = "com.mavrel.brix.receivedcontacts";
    constexpr std::string_view markAsReadNotificationName = "com.mavrel.brix.markAsRead";
    // The Messages service's own flags for a typed message, passed on as they are.
    constexpr uint64_t typedMessageFlags = 100005;
    constexpr int64_t readWhenOpened = 1;
    constexpr int64_t readAfterReply = 2;

    Ref<Object> distributedCenter(runtime::Runtime& runtime)
    {
        return send<Ref<Object>>(runtime.classNamed("NSDistributedNotificationCenter"), SEL("defaultCenter"));
    }

    // Home screen.

    void launchMessagesInBackground(Brix& brix)
    {
        auto application = send<Ref<Object>>(brix.runtime().classNamed("UIApplication"), SEL("sharedApplication"));
        sendIfResponds<bool>(
            application, SEL("launchApplicationWithIdentifier:suspended:"), Value(messagesBundleId), true);
    }

    // A missing value is left out: a system-wide notification carries property-list values only.
    void setIfPresent(Value& dictionary, std::string_view key, Value value)
    {
        if (!value.isNil())
            dictionary.set(key, std::move(value));
    }

    Value requestUserInfo(Object* controller, Object* request)
    {
        Value userInfo = Value::dictionary();
        setIfPresent(userInfo, "identifier", sendIfResponds<Value>(request, SEL("threadIdentifier")));
        setIfPresent(userInfo, "brixIdentifier", sendIfResponds<Value>(controller, SEL("brixIdentifier")));
        return userInfo;
    }

    void postSystemWide(Brix& brix, std::string_view name, const Value& userInfo)
    {
        send(distributedCenter(brix.runtime()), SEL("postNotificationName:object:userInfo:"), Value(name),
            static_cast<Object*>(nullptr), userInfo);
    }

    // The banner passed in is not used: the controller dismisses its own.
    void sendMessageReply(Brix& brix, Object* controller, const Value& text)
    {
        auto request = notificationRequest(controller);
        if (!request)
            return;
        launchMessagesInBackground(brix);
        Value userInfo = requestUserInfo(controller, request);
        setIfPresent(userInfo, "body", text);
        postSystemWide(brix, replyNotificationName, userInfo);
        sendFeedback(brix);
        send(controller, SEL("forceDismissNotificationForView:"), static_cast<Object*>(nullptr));
    }

    void markMessagesAsRead(Brix& brix, Object* controller)
    {
        auto request = notificationRequest(controller);
        if (!request)
            return;
        launchMessagesInBackground(brix);
        postSystemWide(brix, markAsReadNotificationName, requestUserInfo(controller, request));
    }

    // Messages.

    // The chat of the first conversation, in list order, whose chat guid
    // contains `identifier`; nil when none does. Nothing contains a missing or
    // empty identifier.
    Ref<Object> chatMatching(Brix& brix, const Value& identifier)
    {
        if (!identifier.isString() || identifier.string().empty())
            return nullptr;
        auto list = send<Ref<Object>>(brix.runtime().classNamed("CKConversationList"), SEL("sharedConversationList"));
        Value conversations = sendIfResponds<Value>(list, SEL("conversations"));
        for (auto& conversation : conversations.items()) {
            auto chat = sendIfResponds<Ref<Object>>(conversation.object(), SEL("chat"));
            Value guid = sendIfResponds<Value>(chat, SEL("guid"));
            if (guid.isString() && guid.string().find(identifier.string()) != std::string::npos)
                return chat;
        }
        return nullptr;
    }

    Ref<Object> chatRegistry(Brix& brix)
    {
        return send<Ref<Object>>(brix.runtime().classNamed("IMChatRegistry"), SEL("sharedInstance"));
    }

    Ref<Object> typedMessage(Brix& brix, const Value& body)
    {
        auto text = send<Ref<Object>>(
            runtime::alloc(brix.runtime().classNamed("NSAttributedString")), SEL("initWithString:"), body);
        return send<Ref<Object>>(brix.runtime().classNamed("IMMessage"), SEL("instantMessageWithText:flags:"),
            text.get(), typedMessageFlags);
    }

    void sendReadReceipt(Brix& brix, Object* chat)
    {
        send(chatRegistry(brix), SEL("_chat_sendReadReceiptForAllMessages:"), chat);
    }

    Value userInfoOf(Object* notification)
    {
        return sendIfResponds<Value>(notification, SEL("userInfo"));
    }

    // The list remembers the last reply it handled, so a reply heard twice is sent once.
    void receivedMessageContacts(Brix& brix, Object* list, Object* notification)
    {
        Value userInfo = userInfoOf(notification);
        const Value& replyIdentifier = userInfo["brixIdentifier"];
        Value handled = send<Value>(list, SEL("brixIdentifier"));
        if (!handled.isNil() && handled == replyIdentifier)
            return;
        send(list, SEL("setBrixIdentifier:"), replyIdentifier);
        auto chat = chatMatching(brix, userInfo["identifier"]);
        const Value& body = userInfo["body"];
        if (!chat || !body.isString())
            return;
        send(chatRegistry(brix), SEL("_chat:sendMessage:"), chat.get(), typedMessage(brix, body).get());
        if (brix.settings().messagesAutoReadMode == readAfterReply)
            sendReadReceipt(brix, chat);
    }

    void markAsRead(Brix& brix, Object* notification)
    {
        auto chat = chatMatching(brix, userInfoOf(notification)["identifier"]);
        if (chat && brix.settings().messagesAutoReadMode == readWhenOpened)
            sendReadReceipt(brix, chat);
    }

    void observe(Brix& brix, Object* list, Selector selector, std::string_view name)
    {
        send(distributedCenter(brix.runtime()), SEL("addObserver:selector:name:object:"), list, selector, Value(name),
            static_cast<Object*>(nullptr));
    }

    void stopObserving(runtime::Runtime& runtime, Object* list, std::string_view name)
    {
        send(distributedCenter(runtime), SEL("removeObserver:name:object:"), list, Value(name),
            static_cast<Object*>(nullptr));
    }

} // namespace

Imp addSendMessageReply(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector, Object*, Value text) { sendMessageReply(brix, self, text); });
}

Imp addMarkMessagesAsRead(Brix& brix)
{
    return Imp::of([&brix](Object* self, Selector) { markMessagesAsRead(brix, self); });
}

Imp replaceConversationListViewDidLoad(Brix& brix, Previous previous)
{
    return Imp::of([&brix, previous](Object* self, Selector selector) {
        observe(brix, self, SEL("receivedMessageContacts:"), replyNotificationName);
        observe(brix, self, SEL("markAsRead:"), markAsReadNotificationName);
        (*previous)(self, selector);
    });
}

// The class's own run time is used here, since a list may go after the plug-in's state.
Imp replaceConversationListDealloc(Brix&, Previous previous)
{
    return Imp::of([previous](Object* self, Selector selector) {
        auto& runtime = self->isa()->runtime();
        stopObserving(runtime, self, replyNotificationName);
        stopObserving(runtime, self, markAsReadNotificationName);
        (*previous)(self, selector);
    });
}

Imp addReceivedMessageContacts(Brix& brix)
{
    return Imp::of(
        [&brix](Object* self, Selector, Object* notification) { receivedMessageContacts(brix, self, notification); });
}

Imp addMarkAsRead(Brix& brix)
{
    return Imp::of([&brix](Object*, Selector, Object* notification) { markAsRead(brix, notification); });
}

} // namespace brix::controller
