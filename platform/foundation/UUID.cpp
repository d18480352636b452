#include "platform/foundation/UUID.h"

#include <uuid/uuid.h>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

std::string UUID::format(const Bytes& bytes)
{
    char text[37];
    uuid_unparse_upper(bytes.data(), text);
    return text;
}

UUID::Bytes UUID::random()
{
    Bytes bytes;
    uuid_generate_random(bytes.data());
    return bytes;
}

UUID::Bytes UUID::named(const Bytes& space, std::string_view name)
{
    Bytes bytes;
    uuid_generate_sha1(bytes.data(), space.data(), name.data(), name.size());
    return bytes;
}

std::optional<UUID::Bytes> UUID::parse(std::string_view text)
{
    // The library reads the 36 characters of a C string.
    if (text.size() != 36)
        return std::nullopt;
    std::string terminated(text);
    Bytes bytes;
    if (uuid_parse(terminated.c_str(), bytes.data()) != 0)
        return std::nullopt;
    return bytes;
}

void UUID::defineClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSUUID"))
        return;
    Class& cls = runtime.defineClass<UUID>("NSUUID", "NSObject");
    runtime.define(cls, SEL("init"), Imp::of([](UUID* self, Selector) -> Object* {
        self->m_bytes = random();
        return self;
    }));
    runtime.define(cls, SEL("initWithUUIDString:"), Imp::of([](UUID* self, Selector, const Value& text) -> Object* {
        auto parsed = text.isString() ? parse(text.string()) : std::nullopt;
        if (!parsed)
            return nullptr;
        self->m_bytes = *parsed;
        return self;
    }));
    runtime.define(cls, SEL("UUIDString"), Imp::of([](UUID* self, Selector) { return Value(self->string()); }));
    runtime.define(cls, SEL("isEqual:"), Imp::of([](UUID* self, Selector, Object* other) {
        auto* uuid = dynamic_cast<UUID*>(other);
        return uuid && uuid->bytes() == self->bytes();
    }));
    runtime.defineClassMethod(
        cls, SEL("UUID"), Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
