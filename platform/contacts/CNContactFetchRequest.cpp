#include "platform/contacts/CNContactFetchRequest.h"

#include "platform/device/Process.h"
#include "platform/runtime/Send.h"

namespace contacts {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Selector;

void CNContactFetchRequest::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNContactFetchRequest"))
        return;
    auto& cls = runtime.defineClass<CNContactFetchRequest>("CNContactFetchRequest", "NSObject");
    runtime.define(cls, SEL("initWithKeysToFetch:"),
        Imp::of([](CNContactFetchRequest* self, Selector, const Value& keys) -> Object* {
            self->m_keysToFetch = keys;
            return self;
        }));
    runtime.define(
        cls, SEL("keysToFetch"), Imp::of([](CNContactFetchRequest* self, Selector) { return self->keysToFetch(); }));
}

} // namespace contacts
