#pragma once

#include <ostream>

#include "platform/foundation/Value.h"

// Lets test failures show values readably.
namespace foundation {
inline void PrintTo(const Value& value, std::ostream* stream)
{
    *stream << describe(value);
}
} // namespace foundation
