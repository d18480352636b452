#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

// Byte encodings the platform writes and reads: base 64 (RFC 4648, with
// padding) and hexadecimal.
namespace foundation {

std::string base64Encode(std::span<const uint8_t>);

// The bytes of a base-64 text. White space anywhere is skipped and padding
// may be left out; nullopt for a letter outside the alphabet, a letter after
// the padding, more than two padding letters, or a lone final letter (six
// bits, no whole byte).
std::optional<Data> base64Decode(std::string_view);

enum class LetterCase { Lower, Upper };

// Two hexadecimal digits a byte, byte 0 first.
std::string hexEncode(std::span<const uint8_t>, LetterCase = LetterCase::Lower);

// The value of one hexadecimal digit of either case, or -1.
int hexDigitValue(char);

} // namespace foundation
