#include "platform/foundation/Notification.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void Notification::setContents(std::string name, Object* object, Value userInfo)
{
    m_name = std::move(name);
    m_object = object;
    m_userInfo = std::move(userInfo);
}

void Notification::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSNotification"))
        return;
    ClassBuilder::define<Notification>(runtime, "NSNotification", "NSObject")
        // A notification without a name cannot be matched by anyone, so it is not made.
        .method("initWithName:object:userInfo:",
            Imp::of([](Notification* self, Selector, Value name, Object* object, Value userInfo) -> Object* {
                if (!name.isString())
                    return nullptr;
                self->setContents(name.string(), object, std::move(userInfo));
                return self;
            }))
        .method("name", Imp::of([](Notification* self, Selector) { return Value(self->name()); }))
        .method("object", Imp::of([](Notification* self, Selector) { return self->object(); }))
        .property("userInfo", {}, &Notification::m_userInfo)
        .classMethod("notificationWithName:object:userInfo:",
            Imp::of([](Class* self, Selector, Value name, Object* object, Value userInfo) -> Ref<Object> {
                return runtime::send<Ref<Object>>(runtime::alloc(self), SEL("initWithName:object:userInfo:"),
                    std::move(name), object, std::move(userInfo));
            }))
        .classMethod("notificationWithName:object:",
            Imp::of([](Class* self, Selector, Value name, Object* object) -> Ref<Object> {
                return runtime::send<Ref<Object>>(
                    self, SEL("notificationWithName:object:userInfo:"), std::move(name), object, Value());
            }));
}

Ref<Object> makeNotification(runtime::Runtime& runtime, std::string name, Object* object, Value userInfo)
{
    return runtime::send<Ref<Object>>(runtime.classNamed("NSNotification"),
        SEL("notificationWithName:object:userInfo:"), std::move(name), object, std::move(userInfo));
}

} // namespace foundation
