#include "platform/foundation/UUID.h"

#include <cstdlib>

#include "platform/foundation/Value.h"
#include "platform/runtime/Send.h"

namespace foundation {

using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    bool isGroupBoundary(size_t position)
    {
        return position == 8 || position == 13 || position == 18 || position == 23;
    }

    int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

} // namespace

std::string UUID::string() const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t index = 0; index < m_bytes.size(); ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10)
            text += '-';
        text += digits[m_bytes[index] >> 4];
        text += digits[m_bytes[index] & 0xf];
    }
    return text;
}

UUID::Bytes UUID::random()
{
    Bytes bytes;
    arc4random_buf(bytes.data(), bytes.size());
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3f) | 0x80); // the variant of RFC 4122
    return bytes;
}

std::optional<UUID::Bytes> UUID::parse(std::string_view text)
{
    if (text.size() != 36)
        return std::nullopt;
    Bytes bytes {};
    size_t nibble = 0;
    for (size_t position = 0; position < text.size(); ++position) {
        if (isGroupBoundary(position)) {
            if (text[position] != '-')
                return std::nullopt;
            continue;
        }
        int digit = hexDigit(text[position]);
        if (digit < 0)
            return std::nullopt;
        bytes[nibble / 2] = static_cast<uint8_t>(bytes[nibble / 2] | (nibble % 2 ? digit : digit << 4));
        ++nibble;
    }
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
