#include "platform/graphics/TextRange.h"

namespace graphics {

namespace {

    // The length in bytes of the well-formed character starting at `index`, or 1
    // for a byte that starts none.
    size_t characterLength(std::string_view text, size_t index)
    {
        auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
        uint8_t lead = byte(index);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
        if (length == 0 || index + length > text.size())
            return 1;
        for (size_t i = 1; i < length; ++i) {
            if ((byte(index + i) & 0xc0) != 0x80)
                return 1;
        }
        return length;
    }

    uint64_t unitsOf(size_t characterBytes)
    {
        return characterBytes == 4 ? 2 : 1;
    }

} // namespace

uint64_t utf16Length(std::string_view utf8)
{
    uint64_t units = 0;
    for (size_t index = 0; index < utf8.size();) {
        size_t length = characterLength(utf8, index);
        units += unitsOf(length);
        index += length;
    }
    return units;
}

ByteRange byteRangeOf(std::string_view utf8, TextRange range)
{
    uint64_t start = range.location;
    uint64_t end = range.length > UINT64_MAX - start ? UINT64_MAX : start + range.length;
    ByteRange result { utf8.size(), utf8.size() };
    bool begun = false;
    uint64_t units = 0;
    for (size_t index = 0; index < utf8.size();) {
        size_t length = characterLength(utf8, index);
        uint64_t next = units + unitsOf(length);
        if (!begun && next > start) {
            result.begin = index;
            begun = true;
        }
        if (next >= end && begun) {
            result.end = units >= end ? index : index + length;
            return result;
        }
        units = next;
        index += length;
    }
    if (!begun)
        result.begin = utf8.size();
    return result;
}

} // namespace graphics
