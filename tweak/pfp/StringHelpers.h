#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The string helpers Brix keeps beside the platform's string operations.
namespace brix::pfp {

// The MD5 digest of the text's UTF-8 bytes up to its first zero byte, as 32
// upper-case hexadecimal digits, digest byte 0 first.
std::string MD5String(std::string_view text);

// A new string of `length` letters, each drawn independently and uniformly
// from "a" to "z" with the operating system's random source; empty for a
// length of 0 or less.
std::string generateRandomString(int32_t length);

} // namespace brix::pfp
