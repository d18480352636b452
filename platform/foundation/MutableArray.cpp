#include "platform/foundation/MutableArray.h"

#include "platform/runtime/Console.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void MutableArray::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSMutableArray"))
        return;
    if (!runtime.classNamed("NSArray"))
        runtime.defineClass<runtime::NSObject>("NSArray", "NSObject");
    Class& cls = runtime.defineClass<MutableArray>("NSMutableArray", "NSArray");
    runtime.define(cls, SEL("addObject:"), Imp::of([](MutableArray* self, Selector, const Value& item) {
        if (item.isNil()) {
            runtime::console("foundation: -[NSMutableArray addObject:] was given nil; nothing was added");
            return;
        }
        self->append(item);
    }));
    runtime.define(cls, SEL("count"),
        Imp::of([](MutableArray* self, Selector) { return static_cast<uint64_t>(self->items().size()); }));
    runtime.define(cls, SEL("objectAtIndex:"), Imp::of([](MutableArray* self, Selector, uint64_t index) -> Value {
        if (index >= self->items().size()) {
            runtime::console("foundation: -[NSMutableArray objectAtIndex:] index " + std::to_string(index)
                + " beyond bounds [0 .. " + std::to_string(self->items().size()) + ")");
            return {};
        }
        return self->items()[index];
    }));
    runtime.define(cls, SEL("firstObject"), Imp::of([](MutableArray* self, Selector) -> Value {
        return self->items().empty() ? Value() : self->items().front();
    }));
    runtime.define(cls, SEL("lastObject"), Imp::of([](MutableArray* self, Selector) -> Value {
        return self->items().empty() ? Value() : self->items().back();
    }));
    runtime.define(cls, SEL("removeAllObjects"), Imp::of([](MutableArray* self, Selector) { self->m_items.clear(); }));
    runtime.define(cls, SEL("copy"), Imp::of([](MutableArray* self, Selector) { return Value(self->items()); }));
    runtime.defineClassMethod(
        cls, SEL("array"), Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
