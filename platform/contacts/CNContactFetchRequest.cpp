#include "platform/contacts/CNContactFetchRequest.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace contacts {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void CNContactFetchRequest::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNContactFetchRequest"))
        return;
    ClassBuilder::define<CNContactFetchRequest>(runtime, "CNContactFetchRequest", "NSObject")
        .method(
            "initWithKeysToFetch:", Imp::of([](CNContactFetchRequest* self, Selector, const Value& keys) -> Object* {
                self->m_keysToFetch = keys;
                return self;
            }))
        .property("keysToFetch", {}, &CNContactFetchRequest::m_keysToFetch);
}

} // namespace contacts
