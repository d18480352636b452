#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

namespace foundation {

// The two encodings of property lists the platform reads and writes.
enum class PropertyListFormat { Xml, Binary };

// Property lists hold booleans, integers (signed, 64 bits), reals, strings
// (UTF-8, without NUL characters), data, dates, arrays and dictionaries;
// neither nil, the null object nor run-time objects can be stored (neither
// format written here has a null). Dates keep microseconds in
// the binary format and whole seconds in XML, as the XML format writes them.
// Dates must lie within about 68 years of the reference date (1933 to 2069).
//
// Reading accepts either format and tells them apart by their first bytes.
// Input that is not a well-formed property list, is truncated, nests deeper
// than 512 levels or would expand to more than four million values is refused
// with an error that says what is wrong; it is never half read.

Result<Value> parsePropertyList(std::span<const uint8_t> bytes);
Result<Value> loadPropertyList(const std::filesystem::path&);
// The value in the file, or nothing when it cannot be read for any reason.
std::optional<Value> readPropertyList(const std::filesystem::path&);

// Encodes a value, or answers why it cannot be stored (a nil, a null or an object,
// with the path to it, such as `"items"[2]`).
Result<Data> serializePropertyList(const Value&, PropertyListFormat);

// Replaces the file at `path` atomically (see writeFileAtomically). On failure
// the old file is left as it was and the answer is the reason.
Result<void> writePropertyList(const std::filesystem::path&, const Value&, PropertyListFormat);

} // namespace foundation
