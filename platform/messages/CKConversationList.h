#pragma once

#include <vector>

#include "platform/device/Forward.h"
#include "platform/messages/CKConversation.h"

namespace messages {

// The Messages app's conversations, newest first as the app lists them;
// one per process (`sharedConversationList`).
class CKConversationList : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::vector<runtime::Ref<CKConversation>>& conversations() const { return m_conversations; }
    // Adds a conversation at the end of the list.
    void appendConversation(CKConversation&);

    static void registerClass(device::Process&);

private:
    std::vector<runtime::Ref<CKConversation>> m_conversations;
};

} // namespace messages
