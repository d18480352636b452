#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSValue: one C value of any type with a known size (a
// scalar, a pointer, a structure or an array of them), kept as its bytes
// together with the type encoding that describes them ("B" for a BOOL, "q"
// for an NSInteger, "{CGPoint=dd}" for a point).
//
// Messages: +valueWithBytes:objCType: (a `const void*` to the bytes and the
// encoding; nil for an encoding whose size is unknown), -initWithBytes:objCType:,
// -objCType, -getValue: (copies the bytes to a `void*`), -getValue:size:,
// -isEqualToValue:.
class BoxedValue : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::string& objCType() const { return m_objCType; }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

    // Takes a copy of a value of the encoded type; false, changing nothing,
    // for an encoding whose size is unknown or for no bytes.
    bool setContents(std::string_view objCType, const void* bytes);

    // Defines the run-time class "NSValue"; does nothing when it exists.
    static void registerClass(runtime::Runtime&);

private:
    std::string m_objCType;
    std::vector<uint8_t> m_bytes;
};

// The size in bytes of a value of the type an encoding names, laid out with
// the natural alignment of a 64-bit platform; nothing for an encoding that is
// malformed or names a type without a known size (void, an opaque structure,
// a bit field).
std::optional<size_t> sizeOfObjCType(std::string_view);

// A BOOL boxed as an NSValue of type "B", made through the run time; nil when
// the run time has no NSValue class.
runtime::Ref<runtime::Object> boxBool(runtime::Runtime&, bool);
// The BOOL in an NSValue of type "B"; NO for nil and for any other object.
bool unboxBool(runtime::Object*);

} // namespace foundation

// Byte pointers travel in messages as they are. A `const void*` is the
// platform's "r^v".
template <> struct runtime::Encoding<const void*> {
    static constexpr const char* value = "r^v";
};
template <> struct runtime::Encoding<void*> {
    static constexpr const char* value = "^v";
};
