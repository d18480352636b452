#include "platform/messages/IMChat.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/messages/IMMessage.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

using runtime::ClassBuilder;
using runtime::Ref;

void IMChat::setUnreadMessageCount(int64_t count)
{
    m_unreadMessageCount = std::max<int64_t>(count, 0);
}

void IMChat::recordSentMessage(IMMessage& message)
{
    m_sentMessages.emplace_back(&message);
}

Ref<IMChat> IMChat::make(runtime::Runtime& runtime, foundation::Value guid)
{
    auto chat = runtime::instantiate<IMChat>(runtime, "IMChat");
    if (chat)
        chat->m_guid = std::move(guid);
    return chat;
}

void IMChat::registerClass(device::Process& process)
{
    ClassBuilder::define<IMChat>(process.runtime(), "IMChat", "NSObject")
        .property("guid", {}, &IMChat::m_guid)
        .property("unreadMessageCount", {}, &IMChat::m_unreadMessageCount);
}

} // namespace messages
