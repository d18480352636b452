#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Value.h"

#include "tweak/Settings.h"

namespace tools {

// The key of the preference table with that name, or nil.
const brix::SettingKey* findSettingKey(std::string_view name);

// Parses a value typed on the command line for a key: YES/NO, true/false,
// on/off or 1/0 for switches, a whole number for numbers.
std::optional<foundation::Value> parseSettingValue(const brix::SettingKey&, const std::string& text);

std::string typeName(const brix::SettingKey&);
std::string formatSettingValue(const brix::SettingKey&, const foundation::Value&);

} // namespace tools
