#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text positions in the platform's units. Strings are kept as UTF-8, while
// ranges that the platform's string, regular-expression and attributed-text
// classes answer count UTF-16 code units.
namespace brix::utf16 {

// The number of UTF-16 code units of a UTF-8 string.
uint64_t length(std::string_view);

// The byte offset in `text` at which the UTF-16 position `position` starts;
// the end of the text for positions at or past it.
size_t byteOffset(std::string_view text, uint64_t position);

// `text` with the UTF-16 range [location, location + count) replaced by
// `replacement`; a range outside the text is clipped to it.
std::string replace(std::string_view text, uint64_t location, uint64_t count, std::string_view replacement);

} // namespace brix::utf16
