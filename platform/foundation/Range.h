#pragma once

#include <cstdint>

#include "platform/runtime/Types.h"

namespace foundation {

// The platform's NSRange: a span of a string in UTF-16 code units (or of any
// sequence), travelling in messages by value.
struct Range {
    // The platform's NSNotFound, the location of a range that found nothing.
    static constexpr uint64_t notFound = INT64_MAX;

    uint64_t location { 0 };
    uint64_t length { 0 };

    uint64_t end() const { return location + length; }
    friend bool operator==(const Range&, const Range&) = default;
};

} // namespace foundation

template <> struct runtime::Encoding<foundation::Range> {
    static constexpr const char* value = "{_NSRange=QQ}";
};
template <> struct runtime::Encoding<foundation::Range*> {
    static constexpr const char* value = "^{_NSRange=QQ}";
};
