#include "platform/messages/CKConversationList.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/messages/MessagesState.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void CKConversationList::appendConversation(CKConversation& conversation)
{
    auto same = [&](auto& known) { return known.get() == &conversation; };
    if (std::none_of(m_conversations.begin(), m_conversations.end(), same))
        m_conversations.emplace_back(&conversation);
}

void CKConversationList::registerClass(device::Process& process)
{
    auto* owner = &process;
    ClassBuilder::define<CKConversationList>(process.runtime(), "CKConversationList", "NSObject")
        .classMethod("sharedConversationList",
            Imp::of([owner](Object*, Selector) -> Object* { return MessagesState::of(*owner).conversationList(); }))
        .method("conversations",
            Imp::of([](CKConversationList* self, Selector) { return Value::arrayOf(self->conversations()); }));
}

} // namespace messages
