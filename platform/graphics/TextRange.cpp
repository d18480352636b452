#include "platform/graphics/TextRange.h"

#include "platform/foundation/Text.h"

namespace graphics {

ByteRange byteRangeOf(std::string_view utf8, TextRange range)
{
    uint64_t start = range.location;
    uint64_t end = range.length > UINT64_MAX - start ? UINT64_MAX : start + range.length;
    ByteRange result { utf8.size(), utf8.size() };
    bool begun = false;
    uint64_t units = 0;
    for (size_t index = 0; index < utf8.size();) {
        auto character = foundation::text::characterAt(utf8, index);
        size_t length = character.bytes;
        uint64_t next = units + character.units;
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
