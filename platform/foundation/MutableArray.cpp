#include "platform/foundation/MutableArray.h"

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

void MutableArray::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSMutableArray"))
        return;
    if (!runtime.classNamed("NSArray"))
        ClassBuilder::define<runtime::NSObject>(runtime, "NSArray", "NSObject");
    ClassBuilder::define<MutableArray>(runtime, "NSMutableArray", "NSArray")
        .method("addObject:", Imp::of([](MutableArray* self, Selector, const Value& item) {
            if (item.isNil()) {
                runtime::console("foundation: -[NSMutableArray addObject:] was given nil; nothing was added");
                return;
            }
            self->append(item);
        }))
        .method(
            "count", Imp::of([](MutableArray* self, Selector) { return static_cast<uint64_t>(self->items().size()); }))
        .method("objectAtIndex:", Imp::of([](MutableArray* self, Selector, uint64_t index) -> Value {
            if (index >= self->items().size()) {
                runtime::console("foundation: -[NSMutableArray objectAtIndex:] index " + std::to_string(index)
                    + " beyond bounds [0 .. " + std::to_string(self->items().size()) + ")");
                return {};
            }
            return self->items()[index];
        }))
        .method("firstObject", Imp::of([](MutableArray* self, Selector) -> Value {
            return self->items().empty() ? Value() : self->items().front();
        }))
        .method("lastObject", Imp::of([](MutableArray* self, Selector) -> Value {
            return self->items().empty() ? Value() : self->items().back();
        }))
        .method("removeAllObjects", Imp::of([](MutableArray* self, Selector) { self->m_items.clear(); }))
        .method("copy", Imp::of([](MutableArray* self, Selector) { return Value(self->items()); }))
        .classMethod("array", Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
