#include "tweak/pfp/StringHelpers.h"

#include <cstdlib>
#include <span>

#include "platform/foundation/Digest.h"
#include "platform/foundation/Encoding.h"

namespace brix::pfp {

std::string MD5String(std::string_view text)
{
    std::string_view digested = text.substr(0, text.find('\0'));
    auto digest
        = foundation::md5(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(digested.data()), digested.size()));
    return foundation::hexEncode(digest, foundation::LetterCase::Upper);
}

std::string generateRandomString(int32_t length)
{
    std::string result;
    for (int32_t index = 0; index < length; ++index)
        result += static_cast<char>('a' + arc4random_uniform(26));
    return result;
}

} // namespace brix::pfp
