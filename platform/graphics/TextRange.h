#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace graphics {

// A range of text counted in UTF-16 code units, as the platform's strings
// count their characters; a character outside the Basic Multilingual Plane
// (an emoji, say) is two units long.
struct TextRange {
    uint64_t location { 0 };
    uint64_t length { 0 };
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// A range of bytes of UTF-8 text, end exclusive.
struct ByteRange {
    size_t begin { 0 };
    size_t end { 0 };
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// The bytes of `utf8` that `range` covers (see foundation/Text.h for how
// ill-formed text is counted). A range that starts or ends inside
// a surrogate pair covers the whole character; the parts of a range beyond
// the end of the text are dropped.
ByteRange byteRangeOf(std::string_view utf8, TextRange range);

} // namespace graphics
