#pragma once

#include <cstdint>
#include <span>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

namespace foundation {

// Reads a strings table (a ".strings" file) into a dictionary of strings.
//
// Two forms are read. The text form is a list of `"KEY" = "VALUE";` entries
// (a lone `"KEY";` maps the key to itself) with C and C++ comments, optional
// enclosing braces, unquoted words for simple keys, and the escapes \n \t \r
// \a \b \f \v \" \' \\, \Uxxxx (UTF-16 units, surrogate pairs joined) and
// octal \ooo; it is UTF-8, or UTF-16 when it starts with a byte-order mark.
// A property list (XML or binary) holding a dictionary is read too; its
// entries that are not strings are left out. A later entry for the same key
// replaces an earlier one. Anything else is refused with an error naming the
// line and what was expected there.
Result<Value> parseStringsTable(std::span<const uint8_t> bytes);

} // namespace foundation
