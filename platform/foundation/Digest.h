#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/foundation/Value.h"

namespace foundation {

// The MD5 digest (RFC 1321) of some bytes, and the same written as 32
// lower-case hexadecimal digits, digest byte 0 first.
std::array<uint8_t, 16> md5(std::span<const uint8_t>);
std::string md5Hex(const Data&);

} // namespace foundation
