#include "platform/foundation/MutableDictionary.h"

#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void MutableDictionary::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSMutableDictionary"))
        return;
    if (!runtime.classNamed("NSDictionary"))
        runtime.defineClass<runtime::NSObject>("NSDictionary", "NSObject");
    Class& cls = runtime.defineClass<MutableDictionary>("NSMutableDictionary", "NSDictionary");
    runtime.define(cls, SEL("setObject:forKey:"),
        Imp::of([](MutableDictionary* self, Selector, const Value& value, const Value& key) {
            if (value.isNil() || !key.isString()) {
                runtime::console(
                    "foundation: -[NSMutableDictionary setObject:forKey:] needs an object and a string key; "
                    "nothing was stored");
                return;
            }
            self->set(key.string(), value);
        }));
    runtime.define(cls, SEL("objectForKey:"), Imp::of([](MutableDictionary* self, Selector, const Value& key) -> Value {
        if (!key.isString())
            return {};
        auto found = self->entries().find(key.string());
        return found == self->entries().end() ? Value() : found->second;
    }));
    runtime.define(cls, SEL("removeObjectForKey:"), Imp::of([](MutableDictionary* self, Selector, const Value& key) {
        if (key.isString())
            self->m_entries.erase(key.string());
    }));
    runtime.define(cls, SEL("count"),
        Imp::of([](MutableDictionary* self, Selector) { return static_cast<uint64_t>(self->entries().size()); }));
    runtime.define(cls, SEL("allKeys"), Imp::of([](MutableDictionary* self, Selector) {
        Value keys = Value::array();
        for (auto& [key, value] : self->entries())
            keys.append(Value(key));
        return keys;
    }));
    runtime.define(cls, SEL("copy"), Imp::of([](MutableDictionary* self, Selector) { return Value(self->entries()); }));
    runtime.defineClassMethod(
        cls, SEL("dictionary"), Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
