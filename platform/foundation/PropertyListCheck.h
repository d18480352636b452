#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/foundation/Result.h"

namespace foundation {

// Checks run on untrusted bytes before the property-list library parses them.
// The library accepts some malformed XML without complaint (an integer that is
// not a number reads as 0, a truncated document that lost only its closing tag
// reads as complete) and recurses without bound on deeply nested input, so
// these checks refuse what it would misread or could not survive. Each fails
// with the reason for refusing, or succeeds when the input may be parsed.

struct PropertyListLimits {
    size_t maximumDepth { 512 };
    size_t maximumValues { size_t(1) << 22 };
};

Result<void> checkXmlPropertyList(std::span<const uint8_t>, const PropertyListLimits&);
Result<void> checkBinaryPropertyList(std::span<const uint8_t>, const PropertyListLimits&);

} // namespace foundation
