#include "platform/messages/MessagesState.h"

#include "platform/device/Process.h"
#include "platform/messages/CKConversationList.h"
#include "platform/messages/IMChatRegistry.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

MessagesState::MessagesState(device::Process& process)
    : m_process(&process)
{
}

MessagesState::~MessagesState() = default;

MessagesState& MessagesState::of(device::Process& process)
{
    return process.service<MessagesState>();
}

CKConversationList* MessagesState::conversationList()
{
    if (!m_conversationList)
        m_conversationList = runtime::instantiate<CKConversationList>(m_process->runtime(), "CKConversationList");
    return m_conversationList.get();
}

IMChatRegistry* MessagesState::chatRegistry()
{
    if (!m_chatRegistry)
        m_chatRegistry = runtime::instantiate<IMChatRegistry>(m_process->runtime(), "IMChatRegistry");
    return m_chatRegistry.get();
}

} // namespace messages
