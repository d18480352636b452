#include "platform/messages/IMChatRegistry.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/foundation/Value.h"
#include "platform/messages/IMChat.h"
#include "platform/messages/IMMessage.h"
#include "platform/messages/MessagesState.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

namespace {

    // Nothing leaves the device; what the service could not do is traced with the reason.
    void refuse(device::Process& process, const char* operation, const char* reason)
    {
        process.device().trace().emit("messages.refused", { { "operation", operation }, { "reason", reason } });
    }

} // namespace

void IMChatRegistry::addChat(IMChat& chat)
{
    if (std::none_of(m_chats.begin(), m_chats.end(), [&](auto& known) { return known.get() == &chat; }))
        m_chats.emplace_back(&chat);
}

IMChat* IMChatRegistry::existingChat(std::string_view guid) const
{
    for (auto& chat : m_chats) {
        if (chat->guid().isString() && chat->guid().string() == guid)
            return chat.get();
    }
    return nullptr;
}

void IMChatRegistry::sendMessage(device::Process& process, Object* chatObject, Object* messageObject)
{
    auto* chat = dynamic_cast<IMChat*>(chatObject);
    auto* message = dynamic_cast<IMMessage*>(messageObject);
    if (!chat || !message) {
        refuse(process, "_chat:sendMessage:", chat ? "no message to send" : "no chat to send in");
        return;
    }
    chat->recordSentMessage(*message);
    process.device().trace().emit("messages.sent",
        { { "chat", device::toJson(chat->guid()) }, { "text", message->plainText() }, { "flags", message->flags() } });
}

void IMChatRegistry::sendReadReceipts(device::Process& process, Object* chatObject)
{
    auto* chat = dynamic_cast<IMChat*>(chatObject);
    if (!chat) {
        refuse(process, "_chat_sendReadReceiptForAllMessages:", "no chat to mark as read");
        return;
    }
    chat->setUnreadMessageCount(0);
    process.device().trace().emit("messages.readReceipt", { { "chat", device::toJson(chat->guid()) } });
}

void IMChatRegistry::registerClass(device::Process& process)
{
    auto* owner = &process;
    ClassBuilder::define<IMChatRegistry>(process.runtime(), "IMChatRegistry", "NSObject")
        .classMethod("sharedInstance",
            Imp::of([owner](Object*, Selector) -> Object* { return MessagesState::of(*owner).chatRegistry(); }))
        .method(
            "allExistingChats", Imp::of([](IMChatRegistry* self, Selector) { return Value::arrayOf(self->chats()); }))
        .method("existingChatWithGUID:", Imp::of([](IMChatRegistry* self, Selector, Value guid) -> Object* {
            return guid.isString() ? self->existingChat(guid.string()) : nullptr;
        }))
        .method("_chat:sendMessage:", Imp::of([owner](IMChatRegistry* self, Selector, Object* chat, Object* message) {
            self->sendMessage(*owner, chat, message);
        }))
        .method("_chat_sendReadReceiptForAllMessages:",
            Imp::of([owner](IMChatRegistry* self, Selector, Object* chat) { self->sendReadReceipts(*owner, chat); }));
}

} // namespace messages
