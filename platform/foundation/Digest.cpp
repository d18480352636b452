#include "platform/foundation/Digest.h"

#include <openssl/evp.h>

#include "platform/foundation/Encoding.h"

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
    return hexEncode(md5(bytes));
}

} // namespace foundation
