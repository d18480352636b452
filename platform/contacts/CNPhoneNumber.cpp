#include "platform/contacts/CNPhoneNumber.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace contacts {

using foundation::Value;
using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<CNPhoneNumber> CNPhoneNumber::make(runtime::Runtime& runtime, std::string number)
{
    auto object = runtime::send<Ref<Object>>(runtime.classNamed("CNPhoneNumber"), SEL("alloc"));
    Ref<CNPhoneNumber> phone(dynamic_cast<CNPhoneNumber*>(object.get()));
    if (phone)
        phone->m_stringValue = std::move(number);
    return phone;
}

void CNPhoneNumber::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNPhoneNumber"))
        return;
    auto builder = ClassBuilder::define<CNPhoneNumber>(runtime, "CNPhoneNumber", "NSObject");
    builder.method("stringValue", Imp::of([](CNPhoneNumber* self, Selector) { return Value(self->stringValue()); }));
    auto* owner = &runtime;
    builder.classMethod(
        "phoneNumberWithStringValue:", Imp::of([owner](Class*, Selector, const Value& text) -> Ref<Object> {
            return text.isString() ? make(*owner, text.string()) : nullptr;
        }));
}

} // namespace contacts
