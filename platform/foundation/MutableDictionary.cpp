#include "platform/foundation/MutableDictionary.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void MutableDictionary::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSMutableDictionary"))
        return;
    if (!runtime.classNamed("NSDictionary"))
        ClassBuilder::define<runtime::NSObject>(runtime, "NSDictionary", "NSObject");
    ClassBuilder::define<MutableDictionary>(runtime, "NSMutableDictionary", "NSDictionary")
        .method(
            "setObject:forKey:", Imp::of([](MutableDictionary* self, Selector, const Value& value, const Value& key) {
                if (value.isNil() || !key.isString()) {
                    runtime::console(
                        "foundation: -[NSMutableDictionary setObject:forKey:] needs an object and a string key; "
                        "nothing was stored");
                    return;
                }
                self->set(key.string(), value);
            }))
        .method("objectForKey:", Imp::of([](MutableDictionary* self, Selector, const Value& key) -> Value {
            if (!key.isString())
                return {};
            auto found = self->entries().find(key.string());
            return found == self->entries().end() ? Value() : found->second;
        }))
        .method("removeObjectForKey:", Imp::of([](MutableDictionary* self, Selector, const Value& key) {
            if (key.isString())
                self->m_entries.erase(key.string());
        }))
        .method("count",
            Imp::of([](MutableDictionary* self, Selector) { return static_cast<uint64_t>(self->entries().size()); }))
        .method("allKeys", Imp::of([](MutableDictionary* self, Selector) {
            Value keys = Value::array();
            for (auto& [key, value] : self->entries())
                keys.append(Value(key));
            return keys;
        }))
        .method("copy", Imp::of([](MutableDictionary* self, Selector) { return Value(self->entries()); }))
        .classMethod(
            "dictionary", Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
