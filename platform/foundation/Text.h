#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 text measured in the platform's units. Strings are kept as UTF-8,
// while the platform's string, regular-expression and attributed-text classes
// count UTF-16 code units. Ill-formed UTF-8 is read as ICU reads it: each
// maximal ill-formed subsequence is one character (the U+FFFD that would
// replace it), one unit long.
namespace foundation::text {

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view);

// One character of UTF-8 text: its length in bytes and in UTF-16 units.
struct Character {
    size_t bytes { 0 };
    uint64_t units { 0 };
};

// The character that starts at byte `offset`, which must be inside the text.
Character characterAt(std::string_view, size_t offset);

uint64_t utf16Length(std::string_view);

// The byte offset of the first character that starts at or after the UTF-16
// position `position`; the end of the text for positions at or past it.
size_t byteOffset(std::string_view, uint64_t position);

// `text` with the UTF-16 range [location, location + count) replaced by
// `replacement`; a range outside the text is clipped to it.
std::string replaceUtf16Range(std::string_view text, uint64_t location, uint64_t count, std::string_view replacement);

// Case mapping of the ASCII letters only, for protocol words (header names,
// schemes, vCard properties); every other byte stays as it is.
std::string asciiLowercase(std::string_view);
std::string asciiUppercase(std::string_view);
bool equalsIgnoringAsciiCase(std::string_view, std::string_view);

} // namespace foundation::text
