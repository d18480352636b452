#include "tools/brix/scenario/ScenarioParser.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/foundation/UUID.h"

#include "tools/brix/Installation.h"
#include "tools/brix/PreferenceValues.h"
#include "tools/brix/scenario/WebServer.h"

namespace tools::scenario {

namespace fs = std::filesystem;
using foundation::Error;
using foundation::Result;
using foundation::Value;

namespace {

    struct Invalid {
        std::string message;
    };

    [[noreturn]] void fail(std::string message)
    {
        throw Invalid { std::move(message) };
    }

    std::string inQuotes(std::string_view text)
    {
        return "\"" + std::string(text) + "\"";
    }

    std::string kindOf(const Json& value)
    {
        switch (value.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "a boolean";
        case Json::value_t::string:
            return "a string";
        case Json::value_t::array:
            return "an array";
        case Json::value_t::object:
            return "an object";
        default:
            return "a number";
        }
    }

    // The fields of one JSON object, taken one by one; whatever is left when the
    // object is finished is a field this format does not have.
    class Fields {
    public:
        // `where` names the object in messages ("device", "step 3: notify").
        Fields(const Json& value, std::string where)
            : m_object(&value)
            , m_where(std::move(where))
        {
            if (!value.is_object())
                fail(m_where + " must be an object, not " + kindOf(value));
        }

        const std::string& where() const { return m_where; }
        std::string name(std::string_view key) const
        {
            return m_where.empty() ? std::string(key) : m_where + "." + std::string(key);
        }

        bool has(std::string_view key) const { return m_object->contains(key); }

        const Json* take(std::string_view key)
        {
            auto it = m_object->find(key);
            if (it == m_object->end())
                return nullptr;
            m_taken.insert(std::string(key));
            return &*it;
        }

        // A string, or nothing when absent.
        std::optional<std::string> string(std::string_view key)
        {
            const Json* value = take(key);
            if (!value)
                return std::nullopt;
            if (!value->is_string())
                fail(name(key) + " must be a string, not " + kindOf(*value));
            return value->get<std::string>();
        }
        // A string, or nothing when absent or null.
        std::optional<std::string> stringOrNull(std::string_view key)
        {
            auto found = m_object->find(key);
            if (found != m_object->end() && found->is_null()) {
                take(key);
                return std::nullopt;
            }
            return string(key);
        }
        std::string requiredString(std::string_view key)
        {
            auto value = string(key);
            if (!value)
                fail(name(key) + " is missing");
            return *value;
        }
        std::optional<double> number(std::string_view key)
        {
            const Json* value = take(key);
            if (!value)
                return std::nullopt;
            if (!value->is_number() || !std::isfinite(value->get<double>()))
                fail(name(key) + " must be a number, not " + kindOf(*value));
            return value->get<double>();
        }
        std::optional<int64_t> integer(std::string_view key)
        {
            const Json* value = take(key);
            if (!value)
                return std::nullopt;
            if (!value->is_number_integer())
                fail(name(key) + " must be a whole number, not " + kindOf(*value));
            if (value->is_number_unsigned() && value->get<uint64_t>() > uint64_t(INT64_MAX))
                fail(name(key) + " is too large");
            return value->get<int64_t>();
        }
        std::optional<bool> boolean(std::string_view key)
        {
            const Json* value = take(key);
            if (!value)
                return std::nullopt;
            if (!value->is_boolean())
                fail(name(key) + " must be true or false, not " + kindOf(*value));
            return value->get<bool>();
        }

        // Refuses the fields nobody took.
        void finish() const
        {
            for (auto& [key, value] : m_object->items()) {
                if (!m_taken.contains(key))
                    fail((m_where.empty() ? std::string("the scenario") : m_where) + " has an unknown field "
                        + inQuotes(key));
            }
        }

    private:
        const Json* m_object;
        std::string m_where;
        std::set<std::string> m_taken;
    };

    // A JSON value as a property-list value. A user info, as a push payload
    // does, may hold null (the null object); a property list has no place for one.
    enum class Nulls { Refused, Allowed };
    Value toValue(const Json& json, const std::string& name, Nulls nulls = Nulls::Refused)
    {
        switch (json.type()) {
        case Json::value_t::null:
            if (nulls == Nulls::Allowed)
                return Value::null();
            fail(name + " cannot hold null");
        case Json::value_t::boolean:
            return Value(json.get<bool>());
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
            if (json.is_number_unsigned() && json.get<uint64_t>() > uint64_t(INT64_MAX))
                fail(name + " holds a number too large for a property list");
            return Value(json.get<int64_t>());
        case Json::value_t::number_float:
            return Value(json.get<double>());
        case Json::value_t::string:
            return Value(json.get<std::string>());
        case Json::value_t::array: {
            Value result = Value::array();
            size_t index = 0;
            for (auto& item : json)
                result.append(toValue(item, name + "[" + std::to_string(index++) + "]", nulls));
            return result;
        }
        case Json::value_t::object: {
            Value result = Value::dictionary();
            for (auto& [key, item] : json.items())
                result.set(key, toValue(item, name + "." + key, nulls));
            return result;
        }
        default:
            fail(name + " is not a property-list value");
        }
    }

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

    bool isUuid(std::string_view text)
    {
        return foundation::UUID::parse(text).has_value();
    }

    // How deep objects and arrays may nest in a scenario file. The format itself
    // needs a handful of levels; user info and property lists get the rest.
    constexpr size_t maximumDepth = 64;

    // Follows where the parser is in the document, so that input nested too deeply
    // is refused, with its path, before anything walks it recursively.
    class DepthGuard {
    public:
        bool operator()(int depth, Json::parse_event_t event, Json& parsed)
        {
            using Event = Json::parse_event_t;
            switch (event) {
            case Event::key:
                if (!m_path.empty())
                    m_path.back().key = parsed.get<std::string>();
                break;
            case Event::object_start:
            case Event::array_start:
                countElement();
                if (static_cast<size_t>(depth) >= maximumDepth)
                    fail(describe() + " nests more than " + std::to_string(maximumDepth) + " levels deep");
                m_path.push_back({ event == Event::array_start, -1, {} });
                break;
            case Event::object_end:
            case Event::array_end:
                if (!m_path.empty())
                    m_path.pop_back();
                break;
            case Event::value:
                countElement();
                break;
            }
            return true;
        }

    private:
        struct Level {
            bool isArray;
            long index;
            std::string key;
        };

        void countElement()
        {
            if (!m_path.empty() && m_path.back().isArray)
                ++m_path.back().index;
        }

        std::string describe() const
        {
            std::string path;
            for (auto& level : m_path)
                path += level.isArray ? "[" + std::to_string(level.index) + "]" : (path.empty() ? "" : ".") + level.key;
            return path.empty() ? std::string("the scenario") : path;
        }

        std::vector<Level> m_path;
    };

    class Parser {
    public:
        explicit Parser(fs::path folder)
            : m_folder(std::move(folder))
        {
        }

        Scenario parse(const Json& root)
        {
            Fields fields(root, "");
            readFormat(fields);
            if (auto* device = fields.take("device"))
                readDevice(*device);
            if (auto* preferences = fields.take("preferences"))
                m_scenario.preferences = readPreferences(*preferences, "preferences");
            if (auto* containers = fields.take("containers"))
                readContainers(*containers);
            if (auto* files = fields.take("files"))
                m_scenario.files = readFiles(*files, "files", PathKind::Absolute);
            if (auto* conversations = fields.take("conversations"))
                readConversations(*conversations);
            if (auto* contacts = fields.take("contacts"))
                readContacts(*contacts);
            if (auto* web = fields.take("web"))
                readWeb(*web);
            const Json* steps = fields.take("steps");
            fields.finish();
            if (steps)
                readSteps(*steps);
            nameNotifications();
            return std::move(m_scenario);
        }

    private:
        enum class PathKind { Absolute, InsideContainer };

        void readFormat(Fields& fields)
        {
            auto format = fields.integer("format");
            if (!format)
                fail("the scenario has no \"format\" (this tool reads format 1)");
            if (*format != 1)
                fail("format " + std::to_string(*format) + " is not known (this tool reads format 1)");
        }

        void readDevice(const Json& json)
        {
            Fields fields(json, "device");
            auto& hardware = m_scenario.hardware;
            if (auto version = fields.string("systemVersion")) {
                if (!isVersion(*version))
                    fail("device.systemVersion " + inQuotes(version->substr(0, 64))
                        + (version->size() > 64 ? "..." : "") + " is not a version such as \"14.4\"");
                hardware.systemVersion = *version;
            }
            if (auto style = fields.string("style"))
                hardware.style = readStyle(*style, "device.style");
            if (auto* screen = fields.take("screen"))
                readScreen(*screen);
            if (auto level = fields.integer("feedbackSupportLevel")) {
                if (*level < 0 || *level > 2)
                    fail("device.feedbackSupportLevel must be 0, 1 or 2");
                hardware.feedbackSupportLevel = *level;
            }
            if (auto locale = fields.string("locale"))
                hardware.locale = *locale;
            if (auto zone = fields.string("timeZone"))
                hardware.timeZone = *zone;
            if (auto time = fields.string("time")) {
                auto seconds = parseTime(*time);
                if (!seconds)
                    fail("device.time " + inQuotes(*time) + " is not a time such as \"2026-01-01T14:05:00Z\"");
                hardware.startTime = *seconds;
            }
            if (auto brix = fields.boolean("brix"))
                m_scenario.brixInstalled = *brix;
            fields.finish();
        }

        void readScreen(const Json& json)
        {
            Fields fields(json, "device.screen");
            auto& hardware = m_scenario.hardware;
            auto positive = [&](const char* key, double& target) {
                if (auto value = fields.number(key)) {
                    if (*value <= 0)
                        fail(fields.name(key) + " must be greater than 0");
                    target = *value;
                }
            };
            positive("width", hardware.screenWidth);
            positive("height", hardware.screenHeight);
            positive("scale", hardware.screenScale);
            if (auto inset = fields.number("bottomSafeArea")) {
                if (*inset < 0 || *inset >= hardware.screenHeight)
                    fail("device.screen.bottomSafeArea must lie between 0 and the screen's height");
                hardware.bottomSafeArea = *inset;
            }
            fields.finish();
        }

        static device::Hardware::Style readStyle(const std::string& style, const std::string& name)
        {
            if (style == "light")
                return device::Hardware::Style::Light;
            if (style == "dark")
                return device::Hardware::Style::Dark;
            fail(name + " must be \"light\" or \"dark\", not " + inQuotes(style));
        }

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

        static bool isToolFixture(const fs::path& path)
        {
            std::error_code error;
            auto fixtures = fs::canonical(installation().demoTour.parent_path() / "fixtures", error);
            auto resolved = error ? fs::path() : fs::canonical(path, error);
            if (error || !fs::is_regular_file(resolved, error))
                return false;
            auto inside = resolved.lexically_relative(fixtures);
            return !inside.empty() && *inside.begin() != "..";
        }

        fs::path fixture(const std::string& relative, const std::string& name) const
        {
            if (relative.empty())
                fail(name + " names no fixture file");
            // Fixtures lie in the scenario's folder or below it, wherever the scenario is played from,
            // or among the tool's own fixtures (those the demo and the studio's session use).
            fs::path given(relative);
            if (isToolFixture(given.is_absolute() ? given : m_folder / given))
                return given.is_absolute() ? given : m_folder / given;
            if (given.is_absolute() || given.has_root_name() || given.has_root_directory())
                fail(name + ": the fixture " + inQuotes(relative)
                    + " is an absolute path; name it relative to the scenario's folder");
            fs::path lexical = given.lexically_normal();
            if (!lexical.empty() && *lexical.begin() == "..")
                fail(name + ": the fixture " + inQuotes(relative) + " lies outside the scenario's folder");
            fs::path path = m_folder / relative;
            std::error_code error;
            auto folder = fs::weakly_canonical(m_folder, error);
            auto resolved = error ? fs::path() : fs::weakly_canonical(path, error);
            if (!error) {
                auto inside = resolved.lexically_relative(folder);
                if (inside.empty() || *inside.begin() == "..")
                    fail(name + ": the fixture " + inQuotes(relative) + " leads outside the scenario's folder (to "
                        + resolved.string() + ")");
            }
            if (!fs::is_regular_file(path, error))
                fail(name + ": the fixture " + inQuotes(relative) + " does not exist (looked for " + path.string()
                    + ")");
            return path;
        }

        static void checkPath(const std::string& path, PathKind kind, const std::string& name)
        {
            if (path.empty())
                fail(name + " is empty");
            bool absolute = path.front() == '/';
            if (kind == PathKind::Absolute && !absolute)
                fail(name + " " + inQuotes(path) + " must be an absolute device path");
            if (kind == PathKind::InsideContainer && absolute)
                fail(name + " " + inQuotes(path) + " must be relative to the container");
            for (auto& part : fs::path(path)) {
                if (part == "..")
                    fail(name + " " + inQuotes(path) + " must not go up with \"..\"");
            }
        }

        void readConversations(const Json& json)
        {
            if (!json.is_array())
                fail("conversations must be an array, not " + kindOf(json));
            std::vector<std::string> guids;
            for (size_t index = 0; index < json.size(); ++index) {
                Fields fields(json[index], "conversations[" + std::to_string(index) + "]");
                auto guid = fields.requiredString("guid");
                if (guid.empty())
                    fail(fields.name("guid") + " is empty");
                if (std::find(guids.begin(), guids.end(), guid) != guids.end())
                    fail(fields.name("guid") + " " + inQuotes(guid) + " is listed twice");
                fields.finish();
                guids.push_back(std::move(guid));
            }
            m_scenario.conversations = std::move(guids);
        }

        std::vector<FileEntry> readFiles(const Json& json, const std::string& where, PathKind kind)
        {
            if (!json.is_array())
                fail(where + " must be an array, not " + kindOf(json));
            std::vector<FileEntry> files;
            for (size_t index = 0; index < json.size(); ++index) {
                Fields fields(json[index], where + "[" + std::to_string(index) + "]");
                FileEntry entry;
                entry.path = fields.requiredString("path");
                checkPath(entry.path, kind, fields.name("path"));
                int sources = 0;
                if (auto from = fields.string("from")) {
                    entry.from = fixture(*from, fields.name("from"));
                    ++sources;
                }
                if (kind == PathKind::Absolute) {
                    if (auto text = fields.string("text")) {
                        entry.text = *text;
                        ++sources;
                    }
                    if (auto* plist = fields.take("plist")) {
                        entry.plist = toValue(*plist, fields.name("plist"));
                        ++sources;
                    }
                    if (auto* sqlite = fields.take("sqlite")) {
                        entry.sqlite = readStatements(*sqlite, fields.name("sqlite"));
                        ++sources;
                    }
                }
                fields.finish();
                if (sources != 1) {
                    fail(fields.where() + " must have exactly one of "
                        + (kind == PathKind::Absolute ? "\"from\", \"text\", \"plist\" or \"sqlite\"" : "\"from\""));
                }
                files.push_back(std::move(entry));
            }
            return files;
        }

        static std::vector<std::string> readStatements(const Json& json, const std::string& name)
        {
            if (!json.is_array() || json.empty())
                fail(name + " must be a non-empty array of SQL statements, not " + kindOf(json));
            std::vector<std::string> statements;
            for (size_t index = 0; index < json.size(); ++index) {
                if (!json[index].is_string())
                    fail(name + "[" + std::to_string(index) + "] must be an SQL statement (a string), not "
                        + kindOf(json[index]));
                statements.push_back(json[index].get<std::string>());
            }
            return statements;
        }

        static std::vector<std::string> readStrings(Fields& fields, std::string_view key)
        {
            std::vector<std::string> strings;
            const Json* list = fields.take(key);
            if (!list)
                return strings;
            if (!list->is_array())
                fail(fields.name(key) + " must be an array of strings, not " + kindOf(*list));
            for (auto& item : *list) {
                if (!item.is_string())
                    fail(fields.name(key) + " must hold strings, not " + kindOf(item));
                strings.push_back(item.get<std::string>());
            }
            return strings;
        }

        void readContacts(const Json& json)
        {
            if (!json.is_array())
                fail("contacts must be an array, not " + kindOf(json));
            for (size_t index = 0; index < json.size(); ++index) {
                Fields fields(json[index], "contacts[" + std::to_string(index) + "]");
                Contact contact;
                contact.identifier = fields.string("identifier");
                if (contact.identifier && contact.identifier->empty())
                    fail(fields.name("identifier") + " is empty");
                contact.givenName = fields.string("givenName").value_or("");
                contact.familyName = fields.string("familyName").value_or("");
                contact.emails = readStrings(fields, "emails");
                contact.phones = readStrings(fields, "phones");
                if (auto photo = fields.string("photo"))
                    contact.photo = fixture(*photo, fields.name("photo"));
                fields.finish();
                m_scenario.contacts.push_back(std::move(contact));
            }
        }

        // Header lines as HTTP writes them: a token for the name, a value on one line.
        static std::vector<std::pair<std::string, std::string>> webHeaders(const Json& json, const std::string& where)
        {
            Fields fields(json, where);
            std::vector<std::pair<std::string, std::string>> headers;
            std::set<std::string> seen;
            for (auto& [name, value] : json.items()) {
                std::string lower;
                for (char c : name)
                    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                bool token = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
                    return std::isalnum(c)
                        || std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
                });
                if (!token)
                    fail(where + ": " + inQuotes(name) + " is not a header name");
                if (!seen.insert(lower).second)
                    fail(where + ": the header " + inQuotes(name) + " is given twice");
                if (lower == "content-length" || lower == "transfer-encoding" || lower == "connection")
                    fail(where + ": the server sets " + inQuotes(name) + " itself");
                auto text = fields.string(name);
                if (text->find_first_of("\r\n") != std::string::npos)
                    fail(fields.name(name) + " must be one line");
                headers.emplace_back(name, *text);
            }
            return headers;
        }

        void readWeb(const Json& json)
        {
            Fields answers(json, "web");
            std::set<std::string> seen;
            for (auto& [url, answerJson] : json.items()) {
                answers.take(url);
                std::string where = "web[" + inQuotes(url) + "]";
                auto normalized = WebServer::normalizedUrl(url);
                if (!normalized)
                    fail(where + ": " + inQuotes(url) + " is not an http or https URL");
                if (!seen.insert(*normalized).second)
                    fail(where + ": the same URL is answered twice");
                Fields fields(answerJson, where);
                WebAnswer answer;
                if (auto status = fields.integer("status")) {
                    if (*status < 100 || *status > 599)
                        fail(fields.name("status") + " must lie between 100 and 599");
                    answer.status = static_cast<int>(*status);
                }
                if (fields.has("file") && fields.has("text"))
                    fail(where + " must have at most one of \"file\" or \"text\"");
                if (auto file = fields.string("file"))
                    answer.file = fixture(*file, fields.name("file"));
                answer.text = fields.string("text");
                if (auto delay = fields.integer("delayMs")) {
                    if (*delay < 0 || *delay > 600000)
                        fail(fields.name("delayMs") + " must lie between 0 and 600000");
                    answer.delayMs = static_cast<int>(*delay);
                }
                answer.hang = fields.boolean("hang").value_or(false);
                if (auto* headers = fields.take("headers"))
                    answer.headers = webHeaders(*headers, fields.name("headers"));
                answer.gzip = fields.boolean("gzip").value_or(false);
                fields.finish();
                m_scenario.web.emplace_back(url, std::move(answer));
            }
        }

        void readContainers(const Json& json)
        {
            if (!json.is_array())
                fail("containers must be an array, not " + kindOf(json));
            for (size_t index = 0; index < json.size(); ++index) {
                std::string where = "containers[" + std::to_string(index) + "]";
                Fields fields(json[index], where);
                Container container;
                auto kind = fields.requiredString("kind");
                if (kind != "data" && kind != "group")
                    fail(where + ".kind must be \"data\" or \"group\", not " + inQuotes(kind));
                container.kind = kind == "data" ? Container::Kind::Data : Container::Kind::Group;
                container.identifier = fields.requiredString("identifier");
                if (container.identifier.empty())
                    fail(where + ".identifier is empty");
                if (auto uuid = fields.string("uuid")) {
                    if (!isUuid(*uuid))
                        fail(where + ".uuid " + inQuotes(*uuid) + " is not a UUID");
                    container.uuid = *uuid;
                }
                if (auto* files = fields.take("files"))
                    container.files = readFiles(*files, where + ".files", PathKind::InsideContainer);
                fields.finish();
                m_scenario.containers.push_back(std::move(container));
            }
        }

        // Steps.

        void readSteps(const Json& json)
        {
            if (!json.is_array())
                fail("steps must be an array, not " + kindOf(json));
            double previousEnd = 0;
            for (size_t index = 0; index < json.size(); ++index) {
                size_t number = index + 1;
                std::string prefix = "step " + std::to_string(number);
                Fields fields(json[index], prefix);
                Step step;
                step.number = number;
                step.time = readTime(fields, prefix, previousEnd);
                step.kind = actionKey(json[index], prefix);
                step.action = readAction(fields, step.kind, prefix + ": " + step.kind);
                fields.finish();
                previousEnd = step.time + stepLength(step);
                m_scenario.steps.push_back(std::move(step));
            }
        }

        static double readTime(Fields& fields, const std::string& prefix, double previousEnd)
        {
            auto at = fields.number("at");
            auto after = fields.number("after");
            if (at && after)
                fail(prefix + " has both \"at\" and \"after\"; give one");
            if ((at && *at < 0) || (after && *after < 0))
                fail(prefix + ": times cannot be negative");
            if (at && *at + 1e-9 < previousEnd) {
                std::ostringstream message;
                message << prefix << ": \"at\": " << *at << " lies before the time the previous step ends ("
                        << previousEnd << ")";
                fail(message.str());
            }
            return at ? std::max(*at, previousEnd) : previousEnd + after.value_or(0);
        }

        static constexpr const char* actionKeys[] = { "notify", "notifyList", "present", "tap", "pan", "press", "type",
            "key", "tapBackdrop", "button", "grabber", "lock", "style", "preferences", "settings", "launch", "quit",
            "wait", "snapshot", "inspect", "expect", "expectNot", "touch", "tapAt", "keys" };

        static std::string actionKey(const Json& step, const std::string& prefix)
        {
            std::string found;
            for (const char* key : actionKeys) {
                if (!step.contains(key))
                    continue;
                if (!found.empty())
                    fail(prefix + " has both " + inQuotes(found) + " and " + inQuotes(key) + "; a step does one thing");
                found = key;
            }
            if (found.empty()) {
                std::string known;
                for (const char* key : actionKeys)
                    known += (known.empty() ? "" : ", ") + std::string(key);
                fail(prefix + " does nothing: it needs one of " + known);
            }
            return found;
        }

        Action readAction(Fields& fields, const std::string& kind, const std::string& where)
        {
            const Json& value = *fields.take(kind);
            auto on = [&] { return fields.string("on"); };
            if (kind == "notify")
                return Notify { readNotification(value, where) };
            if (kind == "notifyList")
                return NotifyList { readNotification(value, where) };
            if (kind == "present") {
                Present present { readNotification(value, where), {} };
                auto over = fields.string("over");
                if (!over)
                    fail(where + " needs \"over\": the id of the banner that presents it");
                present.over = *over;
                return present;
            }
            if (kind == "tap") {
                requireString(value, where, { "banner" });
                return Tap { on() };
            }
            if (kind == "pan")
                return readPan(fields, value, where);
            if (kind == "press") {
                auto button = requireString(value, where, { "close", "clear", "reply", "open", "snooze", "stop" });
                return Press { button, on() };
            }
            if (kind == "type") {
                if (!value.is_string())
                    fail(where + " must be the text to type, not " + kindOf(value));
                return TypeText { value.get<std::string>() };
            }
            if (kind == "key")
                return Key { requireString(value, where, { "send" }) };
            if (kind == "touch")
                return readTouch(fields, value, where);
            if (kind == "tapAt") {
                auto point = readPoint(value, where);
                return TapAt { point.first, point.second };
            }
            if (kind == "keys") {
                if (!value.is_string() || value.get<std::string>().empty())
                    fail(where + " must be the keys to press (a non-empty string), not " + value.dump());
                return Keys { value.get<std::string>() };
            }
            if (kind == "tapBackdrop") {
                requireTrue(value, where);
                return TapBackdrop { on() };
            }
            if (kind == "button")
                return readButton(value, where);
            if (kind == "grabber")
                return readGrabber(value, where);
            if (kind == "lock") {
                requireTrue(value, where);
                return Lock {};
            }
            if (kind == "style") {
                if (!value.is_string())
                    fail(where + " must be \"light\" or \"dark\", not " + kindOf(value));
                return Style { readStyle(value.get<std::string>(), where) };
            }
            if (kind == "preferences")
                return SetPreferences { readPreferences(value, where) };
            if (kind == "settings")
                return SettingsAction { requireString(value, where, { "testBanner", "respring", "reset" }) };
            if (kind == "launch" || kind == "quit") {
                if (!value.is_string() || value.get<std::string>().empty())
                    fail(where + " must be an app's bundle identifier");
                if (kind == "launch")
                    return Launch { value.get<std::string>() };
                return Quit { value.get<std::string>() };
            }
            if (kind == "wait") {
                if (!value.is_number() || value.get<double>() < 0 || !std::isfinite(value.get<double>()))
                    fail(where + " must be a number of seconds, 0 or more");
                return Wait { value.get<double>() };
            }
            if (kind == "snapshot")
                return Snapshot { readSnapshotName(value, where) };
            if (kind == "inspect") {
                if (!value.is_string() || value.get<std::string>().empty())
                    fail(where + " must be the id of a notification");
                return Inspect { value.get<std::string>() };
            }
            return readExpect(value, where, kind == "expectNot");
        }

        static std::string requireString(const Json& value, const std::string& where, std::vector<std::string> allowed)
        {
            if (value.is_string()) {
                for (auto& candidate : allowed) {
                    if (value.get<std::string>() == candidate)
                        return candidate;
                }
            }
            std::string list;
            for (auto& candidate : allowed)
                list += (list.empty() ? "" : ", ") + inQuotes(candidate);
            fail(where + " must be " + (allowed.size() == 1 ? "" : "one of ") + list + ", not " + value.dump());
        }

        static void requireTrue(const Json& value, const std::string& where)
        {
            if (!value.is_boolean() || !value.get<bool>())
                fail(where + " must be true, not " + value.dump());
        }

        // A point on the screen: [x, y] in points.
        static std::pair<double, double> readPoint(const Json& value, const std::string& where)
        {
            if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()
                || !std::isfinite(value[0].get<double>()) || !std::isfinite(value[1].get<double>()))
                fail(where + " must be a point [x, y] in screen points, not " + value.dump());
            return { value[0].get<double>(), value[1].get<double>() };
        }

        static Pan::End readEnd(Fields& fields)
        {
            const Json* end = fields.take("end");
            if (!end || *end == "ended")
                return Pan::End::Ended;
            if (end->is_null())
                return Pan::End::StillDown;
            if (*end == "cancelled")
                return Pan::End::Cancelled;
            fail(fields.name("end") + " must be \"ended\", \"cancelled\" or null, not " + end->dump());
        }

        static Touch readTouch(Fields& fields, const Json& value, const std::string& where)
        {
            Touch touch;
            if (!value.is_array() || value.empty())
                fail(where + " must be a non-empty array of points [x, y]");
            for (size_t index = 0; index < value.size(); ++index)
                touch.points.push_back(readPoint(value[index], where + "[" + std::to_string(index) + "]"));
            if (auto interval = fields.number("interval")) {
                if (!(*interval > 0) || *interval > 10)
                    fail(fields.name("interval") + " must be more than 0 and at most 10 seconds");
                touch.interval = *interval;
            }
            touch.end = readEnd(fields);
            return touch;
        }

        static Pan readPan(Fields& fields, const Json& value, const std::string& where)
        {
            Pan pan;
            if (!value.is_array() || value.empty())
                fail(where + " must be a non-empty array of vertical translations");
            for (auto& item : value) {
                if (!item.is_number() || !std::isfinite(item.get<double>()))
                    fail(where + " must hold numbers only, not " + kindOf(item));
                pan.translations.push_back(item.get<double>());
            }
            if (const Json* end = fields.take("end")) {
                if (end->is_null())
                    pan.end = Pan::End::StillDown;
                else if (*end == "ended")
                    pan.end = Pan::End::Ended;
                else if (*end == "cancelled")
                    pan.end = Pan::End::Cancelled;
                else
                    fail(fields.name("end") + " must be \"ended\", \"cancelled\" or null, not " + end->dump());
            }
            pan.on = fields.string("on");
            return pan;
        }

        static Button readButton(const Json& value, const std::string& where)
        {
            Fields fields(value, where);
            auto type = fields.integer("type");
            if (!type)
                fail(where + ".type is missing");
            Button button { *type, fields.number("force").value_or(0) };
            if (button.force < 0)
                fail(where + ".force cannot be negative");
            fields.finish();
            return button;
        }

        static Grabber readGrabber(const Json& value, const std::string& where)
        {
            Fields fields(value, where);
            Grabber grabber { fields.integer("style").value_or(0), fields.boolean("animated").value_or(true) };
            fields.finish();
            return grabber;
        }

        static std::string readSnapshotName(const Json& value, const std::string& where)
        {
            if (!value.is_string())
                fail(where + " must be a file name ending in .png, not " + kindOf(value));
            auto name = value.get<std::string>();
            if (name.size() <= 4 || !name.ends_with(".png") || name.find('/') != std::string::npos
                || name.starts_with("."))
                fail(where + " " + inQuotes(name) + " must be a plain file name ending in .png");
            return name;
        }

        static Expect readExpect(const Json& value, const std::string& where, bool negated)
        {
            if (!value.is_object())
                fail(where + " must be an object describing an event, not " + kindOf(value));
            auto type = value.find("type");
            if (type == value.end() || !type->is_string())
                fail(where + " needs a \"type\" string");
            return Expect { value, negated };
        }

        // Notifications.

        Notification readNotification(const Json& json, const std::string& where)
        {
            Fields fields(json, where);
            Notification notification;
            if (auto id = fields.string("id")) {
                if (id->empty())
                    fail(where + ".id is empty");
                if (!m_scenario.notificationIds.insert(*id).second)
                    fail(where + ".id " + inQuotes(*id) + " is used by another notification");
                notification.id = *id;
            }
            notification.app = fields.stringOrNull("app");
            notification.title = fields.stringOrNull("title");
            notification.subtitle = fields.stringOrNull("subtitle");
            notification.message = fields.stringOrNull("message");
            notification.summary = fields.stringOrNull("summary");
            notification.thread = fields.stringOrNull("thread");
            if (auto* userInfo = fields.take("userInfo")) {
                if (!userInfo->is_object())
                    fail(fields.name("userInfo") + " must be an object, not " + kindOf(*userInfo));
                notification.userInfo = toValue(*userInfo, fields.name("userInfo"), Nulls::Allowed);
            }
            if (auto icon = fields.stringOrNull("icon"))
                notification.icon = fixture(*icon, fields.name("icon"));
            if (auto icon = fields.stringOrNull("appIcon"))
                notification.appIcon = fixture(*icon, fields.name("appIcon"));
            if (auto* actions = fields.take("actions"))
                readActions(*actions, fields.name("actions"), notification);
            if (auto* options = fields.take("options")) {
                if (options->is_null()) {
                    notification.hasOptions = false;
                } else {
                    Fields optionFields(*options, fields.name("options"));
                    notification.dismissAutomatically = optionFields.boolean("dismissAutomatically").value_or(true);
                    optionFields.finish();
                }
            }
            fields.finish();
            return notification;
        }

        static void readActions(const Json& json, const std::string& where, Notification& notification)
        {
            Fields fields(json, where);
            notification.clearAction = fields.string("clear");
            notification.closeAction = fields.string("close");
            notification.silenceAction = fields.string("silence");
            if (fields.has("default"))
                notification.defaultAction = fields.stringOrNull("default");
            if (auto* supplementary = fields.take("supplementary")) {
                Fields layouts(*supplementary, fields.name("supplementary"));
                for (auto& [key, list] : supplementary->items()) {
                    layouts.take(key);
                    if (!list.is_array())
                        fail(layouts.name(key) + " must be an array of action ids, not " + kindOf(list));
                    std::vector<std::string> ids;
                    for (auto& id : list) {
                        if (!id.is_string())
                            fail(layouts.name(key) + " must hold action ids (strings), not " + kindOf(id));
                        ids.push_back(id.get<std::string>());
                    }
                    notification.supplementaryActions.emplace_back(key, std::move(ids));
                }
            }
            fields.finish();
        }

        // Notifications without an id take "n1", "n2", ... in the order they appear, skipping the ids the file uses.
        void nameNotifications()
        {
            auto nextName = [this] {
                while (true) {
                    std::string name = "n" + std::to_string(m_scenario.nextSequenceNumber++);
                    if (m_scenario.notificationIds.insert(name).second)
                        return name;
                }
            };
            for (auto& step : m_scenario.steps) {
                Notification* notification = nullptr;
                if (auto* notify = std::get_if<Notify>(&step.action))
                    notification = &notify->notification;
                else if (auto* list = std::get_if<NotifyList>(&step.action))
                    notification = &list->notification;
                else if (auto* present = std::get_if<Present>(&step.action))
                    notification = &present->notification;
                if (notification && notification->id.empty())
                    notification->id = nextName();
            }
        }

        fs::path m_folder;
        Scenario m_scenario;
    };

} // namespace

Result<Scenario> ScenarioParser::parseText(const std::string& text, const fs::path& folder)
{
    Json root;
    try {
        root = Json::parse(text, DepthGuard());
    } catch (const Invalid& invalid) {
        return Error { invalid.message };
    } catch (const Json::exception& error) {
        // Syntax errors, and numbers too large for a double such as 1e400.
        return Error { std::string("the scenario is not valid JSON: ") + error.what() };
    }
    try {
        return Parser(folder).parse(root);
    } catch (const Invalid& invalid) {
        return Error { invalid.message };
    }
}

Result<Scenario> ScenarioParser::parseFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    if (!file || fs::is_directory(path, error))
        return Error { "cannot read the scenario " + path.string() };
    std::stringstream contents;
    contents << file.rdbuf();
    auto folder = fs::absolute(path, error).parent_path();
    auto result = parseText(contents.str(), folder);
    if (result)
        result.value().file = path;
    return result;
}

} // namespace tools::scenario
