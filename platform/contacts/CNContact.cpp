#include "platform/contacts/CNContact.h"

#include "platform/contacts/CNLabeledValue.h"
#include "platform/contacts/CNPhoneNumber.h"
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

bool isContactKey(std::string_view key)
{
    for (const char* known :
        { identifierKey, givenNameKey, familyNameKey, emailAddressesKey, phoneNumbersKey, imageDataKey }) {
        if (key == known)
            return true;
    }
    return false;
}

Ref<CNContact> CNContact::make(runtime::Runtime& runtime, Card card)
{
    auto object = runtime::send<Ref<Object>>(runtime.classNamed("CNContact"), SEL("alloc"));
    Ref<CNContact> contact(dynamic_cast<CNContact*>(object.get()));
    if (!contact)
        return nullptr;
    if (card.photo)
        contact->m_imageData = Value(*card.photo);
    contact->m_card = std::move(card);
    return contact;
}

// Made on first use and kept: the card never changes.
Value CNContact::labeledValues(const std::vector<LabeledText>& texts, bool phones, Value& cache)
{
    if (!cache.isNil())
        return cache;
    auto& runtime = isa()->runtime();
    Value values = Value::array();
    for (size_t index = 0; index < texts.size(); ++index) {
        Value value = phones ? Value(CNPhoneNumber::make(runtime, texts[index].value)) : Value(texts[index].value);
        std::string identifier = m_card.identifier + (phones ? ":tel:" : ":email:") + std::to_string(index);
        values.append(Value(CNLabeledValue::make(runtime, std::move(identifier), texts[index].label, value)));
    }
    cache = values;
    return values;
}

void CNContact::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    if (runtime.classNamed("CNContact"))
        return;
    ClassBuilder::define<CNContact>(runtime, "CNContact", "NSObject")
        .method("identifier", Imp::of([](CNContact* self, Selector) { return Value(self->m_card.identifier); }))
        .method("givenName", Imp::of([](CNContact* self, Selector) { return Value(self->m_card.givenName); }))
        .method("familyName", Imp::of([](CNContact* self, Selector) { return Value(self->m_card.familyName); }))
        .method("emailAddresses", Imp::of([](CNContact* self, Selector) {
            return self->labeledValues(self->m_card.emailAddresses, false, self->m_emailValues);
        }))
        .method("phoneNumbers", Imp::of([](CNContact* self, Selector) {
            return self->labeledValues(self->m_card.phoneNumbers, true, self->m_phoneValues);
        }))
        .property("imageData", {}, &CNContact::m_imageData)
        .method("imageDataAvailable", Imp::of([](CNContact* self, Selector) { return !self->m_imageData.isNil(); }))
        .method("isKeyAvailable:", Imp::of([](CNContact*, Selector, const Value& key) {
            return key.isString() && isContactKey(key.string());
        }));
}

} // namespace contacts
