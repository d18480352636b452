#include "platform/messages/CKConversationListController.h"

#include "platform/device/Process.h"
#include "platform/messages/CKConversationList.h"
#include "platform/runtime/ClassBuilder.h"

namespace messages {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

CKConversationList* CKConversationListController::conversationList() const
{
    return m_conversationList.get();
}

void CKConversationListController::registerClass(device::Process& process)
{
    auto builder = ClassBuilder::define<CKConversationListController>(
        process.runtime(), "CKConversationListController", "UIViewController");
    runtime::Class* cls = &builder.cls();
    auto* owner = &process;
    builder
        .method("viewDidLoad", Imp::of([cls, owner](CKConversationListController* self, Selector selector) {
            runtime::sendSuper(*cls, self, selector);
            auto* listClass = owner->runtime().classNamed("CKConversationList");
            auto list = runtime::send<Ref<Object>>(listClass, SEL("sharedConversationList"));
            self->m_conversationList = dynamic_cast<CKConversationList*>(list.get());
        }))
        .property("conversationList", {}, &CKConversationListController::m_conversationList)
        .method("dealloc", Imp::of([cls](CKConversationListController* self, Selector selector) {
            self->m_conversationList = nullptr;
            runtime::sendSuper(*cls, self, selector);
        }));
}

} // namespace messages
