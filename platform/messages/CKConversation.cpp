#include "platform/messages/CKConversation.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void CKConversation::registerClass(device::Process& process)
{
    ClassBuilder::define<CKConversation>(process.runtime(), "CKConversation", "NSObject")
        .method("initWithChat:", Imp::of([](CKConversation* self, Selector, IMChat* chat) -> Object* {
            self->m_chat = chat;
            return self;
        }))
        .property("chat", {}, &CKConversation::m_chat);
}

} // namespace messages
