#include "tweak/view/Utf16.h"

namespace brix::utf16 {

namespace {

    // The length in bytes of the UTF-8 sequence that starts with `lead`, and the
    // UTF-16 units its code point takes. A stray continuation byte counts as one
    // unit of its own, as the decoder replaces it with U+FFFD.
    struct Sequence {
        size_t bytes;
        uint64_t units;
    };

    Sequence sequenceAt(std::string_view text, size_t offset)
    {
        auto lead = static_cast<unsigned char>(text[offset]);
        size_t bytes = 1;
        if (lead >= 0xF0)
            bytes = 4;
        else if (lead >= 0xE0)
            bytes = 3;
        else if (lead >= 0xC0)
            bytes = 2;
        if (offset + bytes > text.size())
            bytes = text.size() - offset;
        return { bytes, bytes == 4 ? 2u : 1u };
    }

} // namespace

uint64_t length(std::string_view text)
{
    uint64_t units = 0;
    for (size_t offset = 0; offset < text.size();) {
        Sequence sequence = sequenceAt(text, offset);
        offset += sequence.bytes;
        units += sequence.units;
    }
    return units;
}

size_t byteOffset(std::string_view text, uint64_t position)
{
    uint64_t units = 0;
    size_t offset = 0;
    while (offset < text.size() && units < position) {
        Sequence sequence = sequenceAt(text, offset);
        offset += sequence.bytes;
        units += sequence.units;
    }
    return offset;
}

std::string replace(std::string_view text, uint64_t location, uint64_t count, std::string_view replacement)
{
    size_t start = byteOffset(text, location);
    size_t end = byteOffset(text, location + count < location ? UINT64_MAX : location + count);
    std::string result(text.substr(0, start));
    result += replacement;
    result += text.substr(end);
    return result;
}

} // namespace brix::utf16
