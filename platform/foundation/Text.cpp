#include "platform/foundation/Text.h"

#include <unicode/utf8.h>

namespace foundation::text {

namespace {

    char lowered(char c)
    {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }

    char raised(char c)
    {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }

} // namespace

bool isValidUtf8(std::string_view text)
{
    auto length = static_cast<int32_t>(text.size());
    if (static_cast<size_t>(length) != text.size())
        return false;
    for (int32_t index = 0; index < length;) {
        UChar32 codePoint;
        U8_NEXT(text.data(), index, length, codePoint);
        if (codePoint < 0)
            return false;
    }
    return true;
}

Character characterAt(std::string_view text, size_t offset)
{
    // ICU's macros index with 32-bit integers; a character is at most four
    // bytes, so a window of those is enough.
    std::string_view window = text.substr(offset, 4);
    int32_t index = 0;
    UChar32 codePoint;
    U8_NEXT(window.data(), index, static_cast<int32_t>(window.size()), codePoint);
    return { static_cast<size_t>(index), codePoint > 0xFFFF ? 2u : 1u };
}

uint64_t utf16Length(std::string_view text)
{
    uint64_t units = 0;
    for (size_t offset = 0; offset < text.size();) {
        Character character = characterAt(text, offset);
        offset += character.bytes;
        units += character.units;
    }
    return units;
}

size_t byteOffset(std::string_view text, uint64_t position)
{
    uint64_t units = 0;
    size_t offset = 0;
    while (offset < text.size() && units < position) {
        Character character = characterAt(text, offset);
        offset += character.bytes;
        units += character.units;
    }
    return offset;
}

std::string replaceUtf16Range(std::string_view text, uint64_t location, uint64_t count, std::string_view replacement)
{
    size_t start = byteOffset(text, location);
    size_t end = byteOffset(text, location + count < location ? UINT64_MAX : location + count);
    std::string result(text.substr(0, start));
    result += replacement;
    result += text.substr(end);
    return result;
}

std::string asciiLowercase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lowered(c);
    return result;
}

std::string asciiUppercase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = raised(c);
    return result;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t index = 0; index < a.size(); ++index) {
        if (lowered(a[index]) != lowered(b[index]))
            return false;
    }
    return true;
}

} // namespace foundation::text
