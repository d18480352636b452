#include "platform/foundation/Digest.h"

#include <openssl/evp.h>

namespace foundation {

std::array<uint8_t, 16> md5(std::span<const uint8_t> bytes)
{
    std::array<uint8_t, 16> digest {};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr);
    return digest;
}

std::string md5Hex(const Data& bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string result;
    result.reserve(32);
    for (uint8_t byte : md5(bytes)) {
        result += digits[byte >> 4];
        result += digits[byte & 0xf];
    }
    return result;
}

} // namespace foundation
