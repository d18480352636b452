#include "tools/brix/scenario/ScenarioParser.h"

#include <fstream>
#include <sstream>

#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario {

namespace fs = std::filesystem;
using foundation::Error;
using foundation::Result;
using namespace parser;

namespace {

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

    // The fields of the file itself. The steps are read last, once everything
    // they may refer to is known.
    struct Document {
        const Json* steps = nullptr;
    };

    const Field<Document> documentFields[] = {
        { "format", Kind::Integer,
            [](Context&, Document&, const Json& value, const std::string&) {
                if (value.get<int64_t>() != 1)
                    fail("format " + std::to_string(value.get<int64_t>()) + " is not known (this tool reads format 1)");
            },
            Presence::Required, "the scenario has no \"format\" (this tool reads format 1)" },
        { "device", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string&) { readDevice(context, value); } },
        { "preferences", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string& name) {
                context.scenario.preferences = readPreferences(value, name);
            } },
        { "containers", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string&) {
                readContainers(context, value);
            } },
        { "files", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string& name) {
                context.scenario.files = readFiles(context, value, name, PathKind::Absolute);
            } },
        { "conversations", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string&) {
                readConversations(context, value);
            } },
        { "contacts", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string&) { readContacts(context, value); } },
        { "web", Kind::Any,
            [](Context& context, Document&, const Json& value, const std::string&) { readWeb(context, value); } },
        { "steps", Kind::Any,
            [](Context&, Document& document, const Json& value, const std::string&) { document.steps = &value; } },
    };

    // Notifications without an id take "n1", "n2", ... in the order they appear, skipping the ids the file uses.
    void nameNotifications(Scenario& scenario)
    {
        auto nextName = [&scenario] {
            while (true) {
                std::string name = "n" + std::to_string(scenario.nextSequenceNumber++);
                if (scenario.notificationIds.insert(name).second)
                    return name;
            }
        };
        for (auto& step : scenario.steps) {
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

    Scenario parse(const Json& root, const fs::path& folder)
    {
        Context context { folder, {} };
        Document document;
        readObject(context, root, "", documentFields, document);
        if (document.steps)
            readSteps(context, *document.steps);
        nameNotifications(context.scenario);
        return std::move(context.scenario);
    }

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
        return parse(root, folder);
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
