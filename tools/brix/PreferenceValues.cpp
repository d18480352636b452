#include "tools/brix/PreferenceValues.h"

#include <algorithm>
#include <charconv>

namespace tools {

const brix::SettingKey* findSettingKey(std::string_view name)
{
    for (auto& key : brix::settingKeys) {
        if (key.key == name)
            return &key;
    }
    return nullptr;
}

std::optional<foundation::Value> parseSettingValue(const brix::SettingKey& key, const std::string& text)
{
    if (key.type == brix::SettingKey::Type::Boolean) {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower == "yes" || lower == "true" || lower == "on" || lower == "1")
            return foundation::Value(true);
        if (lower == "no" || lower == "false" || lower == "off" || lower == "0")
            return foundation::Value(false);
        return std::nullopt;
    }
    int64_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return foundation::Value(number);
}

std::string typeName(const brix::SettingKey& key)
{
    return key.type == brix::SettingKey::Type::Boolean ? "BOOL" : "NSInteger";
}

std::string formatSettingValue(const brix::SettingKey& key, const foundation::Value& value)
{
    if (value.isNil())
        return "-";
    if (!value.isNumber())
        return foundation::describe(value) + " (wrong type: reads as the default)";
    if (key.type == brix::SettingKey::Type::Boolean)
        return value.boolean() ? "YES" : "NO";
    return std::to_string(value.integer());
}

} // namespace tools
