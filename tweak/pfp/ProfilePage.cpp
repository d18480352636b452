#include "tweak/pfp/ProfilePage.h"

#include <string_view>

#include "platform/foundation/Range.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/Send.h"

namespace brix::pfp {

using foundation::Range;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

    // The address of a profile picture on Twitter's picture host, up to the closing quotation mark.
    constexpr std::string_view profileImagePattern = R"(https:\/\/pbs\.twimg\.com\/profile_images\/[^"]+)";
    constexpr uint64_t caseInsensitive = 1;

} // namespace

std::optional<std::string> profilePictureAddress(runtime::Runtime& runtime, const foundation::Data& page)
{
    std::string text(page.begin(), page.end());
    if (!foundation::text::isValidUtf8(text))
        return std::nullopt;
    auto pattern = send<Ref<Object>>(runtime.classNamed("NSRegularExpression"),
        SEL("regularExpressionWithPattern:options:error:"), foundation::Value(profileImagePattern), caseInsensitive,
        static_cast<Object*>(nullptr));
    if (!pattern)
        return std::nullopt;
    Range found = send<Range>(pattern, SEL("rangeOfFirstMatchInString:options:range:"), foundation::Value(text),
        uint64_t(0), Range { 0, foundation::text::utf16Length(text) });
    if (found.location == Range::notFound)
        return std::nullopt;
    size_t start = foundation::text::byteOffset(text, found.location);
    return text.substr(start, foundation::text::byteOffset(text, found.end()) - start);
}

} // namespace brix::pfp
