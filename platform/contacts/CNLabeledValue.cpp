#include "platform/contacts/CNLabeledValue.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace contacts {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<CNLabeledValue> CNLabeledValue::make(
    runtime::Runtime& runtime, std::string identifier, std::string label, Value value)
{
    auto object = runtime::send<Ref<Object>>(runtime.classNamed("CNLabeledValue"), SEL("alloc"));
    Ref<CNLabeledValue> labeled(dynamic_cast<CNLabeledValue*>(object.get()));
    if (labeled) {
        labeled->m_identifier = std::move(identifier);
        labeled->m_label = std::move(label);
        labeled->m_value = std::move(value);
    }
    return labeled;
}

void CNLabeledValue::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNLabeledValue"))
        return;
    ClassBuilder::define<CNLabeledValue>(runtime, "CNLabeledValue", "NSObject")
        .method("label", Imp::of([](CNLabeledValue* self, Selector) {
            return self->m_label.empty() ? Value() : Value(self->m_label);
        }))
        .property("value", {}, &CNLabeledValue::m_value)
        .method("identifier", Imp::of([](CNLabeledValue* self, Selector) { return Value(self->m_identifier); }));
}

} // namespace contacts
