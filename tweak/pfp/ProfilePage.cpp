#include "tweak/pfp/ProfilePage.h"

#include <string_view>

#include "platform/foundation/Range.h"
#include "platform/runtime/Send.h"

#include "tweak/view/Utf16.h"

namespace brix::pfp {

using foundation::Range;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

    // The address of a profile picture on Twitter's picture host, up to the closing quotation mark.
    constexpr std::string_view profileImagePattern = R"(https:\/\/pbs\.twimg\.com\/profile_images\/[^"]+)";
    constexpr uint64_t caseInsensitive = 1;

    bool isUtf8(const foundation::Data& bytes)
    {
        size_t index = 0;
        while (index < bytes.size()) {
            uint8_t lead = bytes[index];
            size_t length = lead < 0x80 ? 1
                : (lead >> 5) == 0x6    ? 2
                : (lead >> 4) == 0xE    ? 3
                : (lead >> 3) == 0x1E   ? 4
                                        : 0;
            if (!length || index + length > bytes.size() || (length == 2 && lead < 0xC2))
                return false;
            uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
            for (size_t next = 1; next < length; ++next) {
                if ((bytes[index + next] & 0xC0) != 0x80)
                    return false;
                code = (code << 6) | (bytes[index + next] & 0x3F);
            }
            if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))
                || (code >= 0xD800 && code <= 0xDFFF))
                return false;
            index += length;
        }
        return true;
    }

} // namespace

std::optional<std::string> profilePictureAddress(runtime::Runtime& runtime, const foundation::Data& page)
{
    if (!isUtf8(page))
        return std::nullopt;
    std::string text(page.begin(), page.end());
    auto pattern = send<Ref<Object>>(runtime.classNamed("NSRegularExpression"),
        SEL("regularExpressionWithPattern:options:error:"), foundation::Value(profileImagePattern), caseInsensitive,
        static_cast<Object*>(nullptr));
    if (!pattern)
        return std::nullopt;
    Range found = send<Range>(pattern, SEL("rangeOfFirstMatchInString:options:range:"), foundation::Value(text),
        uint64_t(0), Range { 0, utf16::length(text) });
    if (found.location == Range::notFound)
        return std::nullopt;
    size_t start = utf16::byteOffset(text, found.location);
    return text.substr(start, utf16::byteOffset(text, found.end()) - start);
}

} // namespace brix::pfp
