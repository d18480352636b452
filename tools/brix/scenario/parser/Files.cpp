// What a scenario puts on the device before it starts: fixtures, files,
// containers, the Messages app's conversations and the address book.

#include <algorithm>

#include "platform/foundation/UUID.h"

#include "tools/brix/Installation.h"
#include "tools/brix/scenario/parser/Sections.h"

namespace tools::scenario::parser {

namespace fs = std::filesystem;

namespace {

    bool isToolFixture(const fs::path& path)
    {
        std::error_code error;
        auto fixtures = fs::canonical(installation().demoTour.parent_path() / "fixtures", error);
        auto resolved = error ? fs::path() : fs::canonical(path, error);
        if (error || !fs::is_regular_file(resolved, error))
            return false;
        auto inside = resolved.lexically_relative(fixtures);
        return !inside.empty() && *inside.begin() != "..";
    }

    void checkPath(const std::string& path, PathKind kind, const std::string& name)
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

    template <PathKind kind> void storePath(Context&, FileEntry& entry, const Json& value, const std::string& name)
    {
        entry.path = value.get<std::string>();
        checkPath(entry.path, kind, name);
    }

    std::vector<std::string> readStatements(const Json& json, const std::string& name)
    {
        if (!json.is_array() || json.empty())
            fail(name + " must be a non-empty array of SQL statements, not " + kindOf(json));
        std::vector<std::string> statements;
        for (size_t index = 0; index < json.size(); ++index) {
            if (!json[index].is_string())
                fail(indexed(name, index) + " must be an SQL statement (a string), not " + kindOf(json[index]));
            statements.push_back(json[index].get<std::string>());
        }
        return statements;
    }

    // A file in the device has one source: a fixture, a text, a property list or SQL statements.
    const Field<FileEntry> deviceFileFields[] = {
        { "path", Kind::String, storePath<PathKind::Absolute>, Presence::Required },
        { "from", Kind::String, assignFixture<&FileEntry::from> },
        { "text", Kind::String, assign<&FileEntry::text> },
        { "plist", Kind::Any,
            [](Context&, FileEntry& entry, const Json& value, const std::string& name) {
                entry.plist = toValue(value, name);
            } },
        { "sqlite", Kind::Any,
            [](Context&, FileEntry& entry, const Json& value, const std::string& name) {
                entry.sqlite = readStatements(value, name);
            } },
    };

    // A file in a container is a copy of a fixture.
    const Field<FileEntry> containerFileFields[] = {
        { "path", Kind::String, storePath<PathKind::InsideContainer>, Presence::Required },
        { "from", Kind::String, assignFixture<&FileEntry::from> },
    };

    const Field<Container> containerFields[] = {
        { "kind", Kind::String,
            [](Context&, Container& container, const Json& value, const std::string& name) {
                auto kind = value.get<std::string>();
                if (kind != "data" && kind != "group")
                    fail(name + " must be \"data\" or \"group\", not " + inQuotes(kind));
                container.kind = kind == "data" ? Container::Kind::Data : Container::Kind::Group;
            },
            Presence::Required },
        { "identifier", Kind::String,
            [](Context&, Container& container, const Json& value, const std::string& name) {
                container.identifier = value.get<std::string>();
                if (container.identifier.empty())
                    fail(name + " is empty");
            },
            Presence::Required },
        { "uuid", Kind::String,
            [](Context&, Container& container, const Json& value, const std::string& name) {
                auto uuid = value.get<std::string>();
                if (!foundation::UUID::parse(uuid))
                    fail(name + " " + inQuotes(uuid) + " is not a UUID");
                container.uuid = uuid;
            } },
        { "files", Kind::Any,
            [](Context& context, Container& container, const Json& value, const std::string& name) {
                container.files = readFiles(context, value, name, PathKind::InsideContainer);
            } },
    };

    // A chat guid, once in the list.
    const Field<std::string> conversationFields[] = {
        { "guid", Kind::String,
            [](Context& context, std::string& guid, const Json& value, const std::string& name) {
                guid = value.get<std::string>();
                if (guid.empty())
                    fail(name + " is empty");
                auto& guids = *context.scenario.conversations;
                if (std::find(guids.begin(), guids.end(), guid) != guids.end())
                    fail(name + " " + inQuotes(guid) + " is listed twice");
            },
            Presence::Required },
    };

    template <std::vector<std::string> Contact::*member>
    void storeStrings(Context&, Contact& contact, const Json& list, const std::string& name)
    {
        if (!list.is_array())
            fail(name + " must be an array of strings, not " + kindOf(list));
        for (auto& item : list) {
            if (!item.is_string())
                fail(name + " must hold strings, not " + kindOf(item));
            (contact.*member).push_back(item.get<std::string>());
        }
    }

    const Field<Contact> contactFields[] = {
        { "identifier", Kind::String,
            [](Context&, Contact& contact, const Json& value, const std::string& name) {
                if (value.get<std::string>().empty())
                    fail(name + " is empty");
                contact.identifier = value.get<std::string>();
            } },
        { "givenName", Kind::String, assign<&Contact::givenName> },
        { "familyName", Kind::String, assign<&Contact::familyName> },
        { "emails", Kind::Any, storeStrings<&Contact::emails> },
        { "phones", Kind::Any, storeStrings<&Contact::phones> },
        { "photo", Kind::String, assignFixture<&Contact::photo> },
    };

    // The items of an array section, each read by `read(fields-of-the-item, where-of-the-item)`.
    template <class Read> void forEachItem(const Json& json, const std::string& where, Read read)
    {
        if (!json.is_array())
            fail(where + " must be an array, not " + kindOf(json));
        for (size_t index = 0; index < json.size(); ++index)
            read(json[index], indexed(where, index));
    }

} // namespace

fs::path Context::fixture(const std::string& relative, const std::string& name) const
{
    if (relative.empty())
        fail(name + " names no fixture file");
    // Fixtures lie in the scenario's folder or below it, wherever the scenario is played from,
    // or among the tool's own fixtures (those the demo and the studio's session use).
    fs::path given(relative);
    if (isToolFixture(given.is_absolute() ? given : folder / given))
        return given.is_absolute() ? given : folder / given;
    if (given.is_absolute() || given.has_root_name() || given.has_root_directory())
        fail(name + ": the fixture " + inQuotes(relative)
            + " is an absolute path; name it relative to the scenario's folder");
    fs::path lexical = given.lexically_normal();
    if (!lexical.empty() && *lexical.begin() == "..")
        fail(name + ": the fixture " + inQuotes(relative) + " lies outside the scenario's folder");
    fs::path path = folder / relative;
    std::error_code error;
    auto canonicalFolder = fs::weakly_canonical(folder, error);
    auto resolved = error ? fs::path() : fs::weakly_canonical(path, error);
    if (!error) {
        auto inside = resolved.lexically_relative(canonicalFolder);
        if (inside.empty() || *inside.begin() == "..")
            fail(name + ": the fixture " + inQuotes(relative) + " leads outside the scenario's folder (to "
                + resolved.string() + ")");
    }
    if (!fs::is_regular_file(path, error))
        fail(name + ": the fixture " + inQuotes(relative) + " does not exist (looked for " + path.string() + ")");
    return path;
}

std::vector<FileEntry> readFiles(Context& context, const Json& json, const std::string& where, PathKind kind)
{
    std::vector<FileEntry> files;
    forEachItem(json, where, [&](const Json& item, const std::string& itemWhere) {
        Fields fields(item, itemWhere);
        FileEntry entry;
        if (kind == PathKind::Absolute)
            readFields(context, fields, deviceFileFields, entry);
        else
            readFields(context, fields, containerFileFields, entry);
        fields.finish();
        int sources
            = entry.from.has_value() + entry.text.has_value() + entry.plist.has_value() + entry.sqlite.has_value();
        if (sources != 1) {
            fail(itemWhere + " must have exactly one of "
                + (kind == PathKind::Absolute ? "\"from\", \"text\", \"plist\" or \"sqlite\"" : "\"from\""));
        }
        files.push_back(std::move(entry));
    });
    return files;
}

void readContainers(Context& context, const Json& json)
{
    forEachItem(json, "containers", [&](const Json& item, const std::string& where) {
        Container container;
        readObject(context, item, where, containerFields, container);
        context.scenario.containers.push_back(std::move(container));
    });
}

void readConversations(Context& context, const Json& json)
{
    context.scenario.conversations.emplace();
    forEachItem(json, "conversations", [&](const Json& item, const std::string& where) {
        std::string guid;
        readObject(context, item, where, conversationFields, guid);
        context.scenario.conversations->push_back(std::move(guid));
    });
}

void readContacts(Context& context, const Json& json)
{
    forEachItem(json, "contacts", [&](const Json& item, const std::string& where) {
        Contact contact;
        readObject(context, item, where, contactFields, contact);
        context.scenario.contacts.push_back(std::move(contact));
    });
}

} // namespace tools::scenario::parser
