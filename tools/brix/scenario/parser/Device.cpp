// The device section and the preference values a scenario sets.

#include <chrono>

#include "tools/brix/PreferenceValues.h"
#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario::parser {

using device::Hardware;
using foundation::Value;

namespace {

    // The number written with exactly `digits` digits at `at`, if it lies within [low, high].
    std::optional<int> digitsAt(std::string_view text, size_t at, size_t digits, int low, int high)
    {
        if (at + digits > text.size())
            return std::nullopt;
        int value = 0;
        for (size_t i = at; i < at + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        if (value < low || value > high)
            return std::nullopt;
        return value;
    }

    // Seconds since 1970 of an ISO 8601 time with a zone: "2026-01-01T14:05:00Z", "...+02:00".
    // Days that do not exist, such as the 31st of February, are refused.
    std::optional<double> parseTime(std::string_view text)
    {
        if (text.size() < 20 || text.size() > 64 || text[4] != '-' || text[7] != '-' || text[10] != 'T'
            || text[13] != ':' || text[16] != ':')
            return std::nullopt;
        auto year = digitsAt(text, 0, 4, 0, 9999);
        auto month = digitsAt(text, 5, 2, 1, 12);
        auto day = digitsAt(text, 8, 2, 1, 31);
        auto hour = digitsAt(text, 11, 2, 0, 23);
        auto minute = digitsAt(text, 14, 2, 0, 59);
        auto second = digitsAt(text, 17, 2, 0, 60);
        if (!year || !month || !day || !hour || !minute || !second)
            return std::nullopt;
        std::chrono::year_month_day date { std::chrono::year(*year), std::chrono::month(unsigned(*month)),
            std::chrono::day(unsigned(*day)) };
        if (!date.ok())
            return std::nullopt;
        double seconds = static_cast<double>(std::chrono::sys_days(date).time_since_epoch().count()) * 86400.0
            + *hour * 3600.0 + *minute * 60.0 + *second;
        size_t at = 19;
        if (text[at] == '.') {
            size_t digits = 0;
            double scale = 0.1;
            while (at + 1 + digits < text.size() && text[at + 1 + digits] >= '0' && text[at + 1 + digits] <= '9') {
                seconds += (text[at + 1 + digits] - '0') * scale;
                scale /= 10;
                ++digits;
            }
            if (digits == 0)
                return std::nullopt;
            at += 1 + digits;
        }
        auto zone = text.substr(at);
        if (zone == "Z")
            return seconds;
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
            return std::nullopt;
        auto zoneHours = digitsAt(zone, 1, 2, 0, 23);
        auto zoneMinutes = digitsAt(zone, 4, 2, 0, 59);
        if (!zoneHours || !zoneMinutes)
            return std::nullopt;
        double offset = *zoneHours * 3600.0 + *zoneMinutes * 60.0;
        return zone[0] == '+' ? seconds - offset : seconds + offset;
    }

    // "14", "14.4", "16.0.1": numbers of at most nine digits joined by single dots.
    bool isVersion(std::string_view text)
    {
        if (text.empty() || text.size() > 64)
            return false;
        size_t run = 0;
        for (char c : text) {
            if (c == '.') {
                if (run == 0)
                    return false;
                run = 0;
            } else if (c >= '0' && c <= '9' && run < 9) {
                ++run;
            } else {
                return false;
            }
        }
        return run > 0;
    }

    template <double Hardware::*member>
    void positive(Context&, Hardware& hardware, const Json& value, const std::string& name)
    {
        if (value.get<double>() <= 0)
            fail(name + " must be greater than 0");
        hardware.*member = value.get<double>();
    }

    const Field<Hardware> screenFields[] = {
        { "width", Kind::Number, positive<&Hardware::screenWidth> },
        { "height", Kind::Number, positive<&Hardware::screenHeight> },
        { "scale", Kind::Number, positive<&Hardware::screenScale> },
        { "bottomSafeArea", Kind::Number,
            [](Context&, Hardware& hardware, const Json& value, const std::string& name) {
                double inset = value.get<double>();
                if (inset < 0 || inset >= hardware.screenHeight)
                    fail(name + " must lie between 0 and the screen's height");
                hardware.bottomSafeArea = inset;
            } },
    };

    const Field<Hardware> deviceFields[] = {
        { "systemVersion", Kind::String,
            [](Context&, Hardware& hardware, const Json& value, const std::string& name) {
                auto version = value.get<std::string>();
                if (!isVersion(version))
                    fail(name + " " + inQuotes(version.substr(0, 64)) + (version.size() > 64 ? "..." : "")
                        + " is not a version such as \"14.4\"");
                hardware.systemVersion = version;
            } },
        { "style", Kind::String,
            [](Context&, Hardware& hardware, const Json& value, const std::string& name) {
                hardware.style = readStyle(value.get<std::string>(), name);
            } },
        { "screen", Kind::Any,
            [](Context& context, Hardware& hardware, const Json& value, const std::string& name) {
                readObject(context, value, name, screenFields, hardware);
            } },
        { "feedbackSupportLevel", Kind::Integer,
            [](Context&, Hardware& hardware, const Json& value, const std::string& name) {
                auto level = value.get<int64_t>();
                if (level < 0 || level > 2)
                    fail(name + " must be 0, 1 or 2");
                hardware.feedbackSupportLevel = level;
            } },
        { "locale", Kind::String, assign<&Hardware::locale> },
        { "timeZone", Kind::String, assign<&Hardware::timeZone> },
        { "time", Kind::String,
            [](Context&, Hardware& hardware, const Json& value, const std::string& name) {
                auto seconds = parseTime(value.get<std::string>());
                if (!seconds)
                    fail(name + " " + inQuotes(value.get<std::string>())
                        + " is not a time such as \"2026-01-01T14:05:00Z\"");
                hardware.startTime = *seconds;
            } },
        { "brix", Kind::Boolean,
            [](Context& context, Hardware&, const Json& value, const std::string&) {
                context.scenario.brixInstalled = value.get<bool>();
            } },
    };

} // namespace

void readDevice(Context& context, const Json& json)
{
    readObject(context, json, "device", deviceFields, context.scenario.hardware);
}

Hardware::Style readStyle(const std::string& style, const std::string& name)
{
    if (style == "light")
        return Hardware::Style::Light;
    if (style == "dark")
        return Hardware::Style::Dark;
    fail(name + " must be \"light\" or \"dark\", not " + inQuotes(style));
}

// Keys of the settings bundle only, each with a value of its type.
std::vector<std::pair<std::string, Value>> readPreferences(const Json& json, const std::string& where)
{
    Fields fields(json, where);
    std::vector<std::pair<std::string, Value>> values;
    for (auto& [key, value] : json.items()) {
        fields.take(key);
        auto* settingKey = findSettingKey(key);
        if (!settingKey)
            fail(where + " names the unknown preference key " + inQuotes(key));
        if (settingKey->type == brix::SettingKey::Type::Boolean) {
            if (!value.is_boolean())
                fail(fields.name(key) + " must be true or false, not " + kindOf(value));
            values.emplace_back(key, Value(value.get<bool>()));
        } else {
            if (!value.is_number_integer())
                fail(fields.name(key) + " must be a whole number, not " + kindOf(value));
            values.emplace_back(key, Value(value.get<int64_t>()));
        }
    }
    return values;
}

} // namespace tools::scenario::parser
