#include "platform/foundation/UUID.h"

#include <uuid/uuid.h>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::ClassBuilder;
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

void UUID::registerClass(runtime::Runtime& runtime)
{
    if (runtime.classNamed("NSUUID"))
        return;
    ClassBuilder::define<UUID>(runtime, "NSUUID", "NSObject")
        .method("init", Imp::of([](UUID* self, Selector) -> Object* {
            self->m_bytes = random();
            return self;
        }))
        .method("initWithUUIDString:", Imp::of([](UUID* self, Selector, const Value& text) -> Object* {
            auto parsed = text.isString() ? parse(text.string()) : std::nullopt;
            if (!parsed)
                return nullptr;
            self->m_bytes = *parsed;
            return self;
        }))
        .method("UUIDString", Imp::of([](UUID* self, Selector) { return Value(self->string()); }))
        .method("isEqual:",
            Imp::of([](UUID* self, Selector, UUID* uuid) { return uuid && uuid->bytes() == self->bytes(); }))
        .classMethod("UUID", Imp::of([](Class* self, Selector) -> Ref<Object> { return runtime::newObject(self); }));
}

} // namespace foundation
