#pragma once

#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/messages/Forward.h"

namespace messages {

// One conversation of the Messages service, named by its guid (such as
// "iMessage;-;+15551234567"). It keeps the messages sent in it and how many
// received messages are still unread.
class IMChat : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& guid() const { return m_guid; }
    const std::vector<runtime::Ref<IMMessage>>& sentMessages() const { return m_sentMessages; }
    int64_t unreadMessageCount() const { return m_unreadMessageCount; }
    void setUnreadMessageCount(int64_t count);

    void recordSentMessage(IMMessage&);

    // A new chat of the process's class "IMChat".
    static runtime::Ref<IMChat> make(runtime::Runtime&, foundation::Value guid);

    static void registerClass(device::Process&);

private:
    foundation::Value m_guid;
    std::vector<runtime::Ref<IMMessage>> m_sentMessages;
    int64_t m_unreadMessageCount { 0 };
};

} // namespace messages
