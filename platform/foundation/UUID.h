#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSUUID: 16 bytes, written as 36 characters of upper-case
// hexadecimal digits in the groups 8-4-4-4-12.
//
// Messages: +UUID and -init (a random version 4 UUID from the operating
// system's random source), -initWithUUIDString: (nil for a malformed text),
// -UUIDString, -isEqual:.
class UUID : public runtime::NSObject {
public:
    using Bytes = std::array<uint8_t, 16>;

    using NSObject::NSObject;

    const Bytes& bytes() const { return m_bytes; }
    std::string string() const { return format(m_bytes); }

    // The 36 characters the platform writes for a UUID.
    static std::string format(const Bytes&);

    static Bytes random();
    // A name-based (version 5, SHA-1) UUID: the same for the same space and
    // name, on every machine.
    static Bytes named(const Bytes& space, std::string_view name);
    static std::optional<Bytes> parse(std::string_view);

    // Defines the run-time class "NSUUID"; does nothing when it exists.
    static void registerClass(runtime::Runtime&);

private:
    Bytes m_bytes {};
};

} // namespace foundation
