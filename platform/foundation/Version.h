#pragma once

#include <string_view>

namespace foundation {

// Orders two version strings as the platform's numeric string comparison does
// (`compare:options:` with NSNumericSearch): runs of digits compare by their
// numeric value, every other character compares literally, and when one
// string is a prefix of the other the shorter orders first. So "12.10" comes
// after "12.9", "12" before "12.0", and "1.01" equals "1.1". Answers -1, 0 or 1.
int compareVersions(std::string_view a, std::string_view b);

} // namespace foundation
