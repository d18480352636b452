#pragma once

#include "platform/device/Forward.h"
#include "platform/messages/IMChat.h"

namespace messages {

// A conversation as the Messages app shows it, backed by its chat.
class CKConversation : public runtime::NSObject {
public:
    using NSObject::NSObject;

    IMChat* chat() const { return m_chat.get(); }

    static void registerClass(device::Process&);

private:
    runtime::Ref<IMChat> m_chat;
};

} // namespace messages
