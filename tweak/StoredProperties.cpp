#include "tweak/StoredProperties.h"

#include <cctype>

#include "platform/foundation/BoxedValue.h"

#include "tweak/Brix.h"
#include "tweak/HookTable.h"

namespace brix {

namespace {

    using runtime::Imp;
    using runtime::Object;
    using runtime::Selector;

    std::string setterName(std::string_view getter)
    {
        std::string name = "set";
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(getter.front())));
        name += getter.substr(1);
        name += ':';
        return name;
    }

    void addObjectProperty(runtime::Runtime& runtime, runtime::Class& cls, const HookEntry& entry, const void* key)
    {
        runtime.addMethod(cls, Selector::named(entry.selector),
            Imp::of([key](Object* self, Selector) { return self->associatedValue(key); }), "@@:");
        runtime.addMethod(cls, Selector::named(setterName(entry.selector)),
            Imp::of(
                [key](Object* self, Selector, const runtime::Value& value) { self->setAssociatedValue(key, value); }),
            "v@:@");
    }

    void addBooleanProperty(runtime::Runtime& runtime, runtime::Class& cls, const HookEntry& entry, const void* key)
    {
        runtime.addMethod(cls, Selector::named(entry.selector),
            Imp::of([key](Object* self, Selector) { return foundation::unboxBool(self->associatedObject(key)); }),
            "B@:");
        runtime.addMethod(cls, Selector::named(setterName(entry.selector)),
            Imp::of([key, &runtime](Object* self, Selector, bool value) {
                auto boxed = foundation::boxBool(runtime, value);
                self->setAssociatedObject(key, boxed.get(), runtime::AssociationPolicy::Retain);
            }),
            "v@:B");
    }

} // namespace

void addStoredProperty(Brix& brix, runtime::Class& cls, const HookEntry& entry)
{
    // The table row is unique to its property and lives as long as the
    // program, so its address is the property's key.
    const void* key = &entry;
    if (entry.types == "B")
        addBooleanProperty(brix.runtime(), cls, entry, key);
    else
        addObjectProperty(brix.runtime(), cls, entry, key);
}

} // namespace brix
