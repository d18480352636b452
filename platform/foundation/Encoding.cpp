#include "platform/foundation/Encoding.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace foundation {

namespace {

    bool isSpace(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    }

    bool isBase64Letter(char c)
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
    }

} // namespace

std::string base64Encode(std::span<const uint8_t> bytes)
{
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int length
        = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(), static_cast<int>(bytes.size()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::optional<Data> base64Decode(std::string_view text)
{
    std::string letters;
    letters.reserve(text.size());
    size_t padding = 0;
    for (char c : text) {
        if (isSpace(c))
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (!isBase64Letter(c) || padding > 0)
            return std::nullopt;
        letters += c;
    }
    if (padding > 2 || letters.size() % 4 == 1)
        return std::nullopt;
    size_t missing = (4 - letters.size() % 4) % 4;
    letters.append(missing, '=');
    Data bytes(letters.size() / 4 * 3);
    int length = EVP_DecodeBlock(
        bytes.data(), reinterpret_cast<const unsigned char*>(letters.data()), static_cast<int>(letters.size()));
    if (length < 0)
        return std::nullopt;
    // The block decoder writes a zero byte for each padding letter.
    bytes.resize(static_cast<size_t>(length) - missing);
    return bytes;
}

std::string hexEncode(std::span<const uint8_t> bytes, LetterCase letterCase)
{
    std::string text(2 * bytes.size() + 1, '\0');
    size_t length = 0;
    OPENSSL_buf2hexstr_ex(text.data(), text.size(), &length, bytes.data(), bytes.size(), '\0');
    text.resize(2 * bytes.size());
    if (letterCase == LetterCase::Lower) {
        for (char& c : text)
            if (c >= 'A' && c <= 'F')
                c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

int hexDigitValue(char c)
{
    return OPENSSL_hexchar2int(static_cast<unsigned char>(c));
}

} // namespace foundation
