#pragma once

#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/messages/Forward.h"

namespace messages {

// The Messages service's list of chats and its way out: `_chat:sendMessage:`
// sends a message in a chat (traced as `messages.sent`) and
// `_chat_sendReadReceiptForAllMessages:` marks everything in a chat as read
// (traced as `messages.readReceipt`). One per process (`sharedInstance`).
// Either without a chat, or a message without one, sends nothing and traces
// `messages.refused` with the operation and the reason.
//
// Messages: -_chat:(object)sendMessage:(object), -_chat_sendReadReceiptForAllMessages:(object),
//   -existingChatWithGUID:(Value) -> object, -allExistingChats -> array
class IMChatRegistry : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::vector<runtime::Ref<IMChat>>& chats() const { return m_chats; }
    void addChat(IMChat&);
    IMChat* existingChat(std::string_view guid) const;

    static void registerClass(device::Process&);

private:
    void sendMessage(device::Process&, runtime::Object* chat, runtime::Object* message);
    void sendReadReceipts(device::Process&, runtime::Object* chat);

    std::vector<runtime::Ref<IMChat>> m_chats;
};

} // namespace messages
