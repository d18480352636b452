#include "platform/foundation/ErrorObject.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

std::string ErrorObject::localizedDescription() const
{
    const Value& description = m_userInfo[localizedDescriptionKey];
    if (description.isString())
        return description.string();
    return "The operation couldn’t be completed. (" + m_domain + " error " + std::to_string(m_code) + ".)";
}

Ref<ErrorObject> ErrorObject::make(
    runtime::Runtime& runtime, std::string domain, int64_t code, std::string description, Value userInfo)
{
    if (!description.empty())
        userInfo.set(localizedDescriptionKey, Value(std::move(description)));
    auto error = runtime::send<Ref<Object>>(
        runtime.classNamed("NSError"), SEL("errorWithDomain:code:userInfo:"), Value(std::move(domain)), code, userInfo);
    return Ref<ErrorObject>(dynamic_cast<ErrorObject*>(error.get()));
}

void ErrorObject::report(Value* destination, ErrorObject* error)
{
    if (destination)
        *destination = Value(static_cast<Object*>(error));
}

void ErrorObject::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSError"))
        return;
    ClassBuilder::define<ErrorObject>(runtime, "NSError", "NSObject")
        .method("initWithDomain:code:userInfo:",
            Imp::of(
                [](ErrorObject* self, Selector, const Value& domain, int64_t code, const Value& userInfo) -> Object* {
                    if (!domain.isString())
                        return nullptr;
                    self->m_domain = domain.string();
                    self->m_code = code;
                    self->m_userInfo = userInfo.isDictionary() ? userInfo : Value();
                    return self;
                }))
        .method("domain", Imp::of([](ErrorObject* self, Selector) { return Value(self->domain()); }))
        .method("code", Imp::of(&ErrorObject::code))
        .property("userInfo", {}, &ErrorObject::m_userInfo)
        .method("localizedDescription",
            Imp::of([](ErrorObject* self, Selector) { return Value(self->localizedDescription()); }))
        .classMethod("errorWithDomain:code:userInfo:",
            Imp::of([](Class* self, Selector, const Value& domain, int64_t code, const Value& userInfo) -> Ref<Object> {
                return runtime::send<Ref<Object>>(
                    runtime::alloc(self), SEL("initWithDomain:code:userInfo:"), domain, code, userInfo);
            }));
}

} // namespace foundation
