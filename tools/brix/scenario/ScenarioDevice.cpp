#include "tools/brix/scenario/ScenarioDevice.h"

#include <fstream>
#include <sqlite3.h>
#include <sstream>

#include "platform/apps/Apps.h"
#include "platform/contacts/AddressBook.h"
#include "platform/contacts/VCard.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UUID.h"
#include "platform/messages/ConversationStore.h"
#include "platform/network/Network.h"
#include "platform/preferences/Domain.h"

#include "tools/brix/DeviceRoot.h"
#include "tweak/Settings.h"

namespace tools::scenario {

namespace fs = std::filesystem;
using foundation::PropertyListFormat;
using foundation::Value;

namespace {

    constexpr const char* metadataFile = ".com.apple.mobile_container_manager.metadata.plist";

    // A container's UUID when the scenario gives none: the same for the same
    // identifier, so that repeated runs lay the device out alike.
    std::string uuidFor(const std::string& identifier, size_t index)
    {
        // The space of this tool's container UUIDs, itself a random UUID.
        static constexpr foundation::UUID::Bytes space { 0x6B, 0x1E, 0x4C, 0x2A, 0x93, 0x0D, 0x4F, 0x57, 0xA2, 0x8C,
            0x31, 0xE5, 0x7B, 0x90, 0xD4, 0x16 };
        return foundation::UUID::format(foundation::UUID::named(space, identifier + "#" + std::to_string(index)));
    }

    std::string containerFolder(const Container& container, const std::string& uuid)
    {
        return std::string(container.kind == Container::Kind::Data ? "/var/mobile/Containers/Data/Application/"
                                                                   : "/var/mobile/Containers/Shared/AppGroup/")
            + uuid;
    }

} // namespace

ScenarioDevice::ScenarioDevice(const Scenario& scenario)
    : m_scenario(&scenario)
    , m_root("brix-scenario-")
{
}

// The device, and the processes it ends, go before the folder they live in
// and before the web server their connections lead to.
ScenarioDevice::~ScenarioDevice()
{
    m_device.reset();
    m_webServer.reset();
}

foundation::Result<void> ScenarioDevice::prepare()
{
    if (m_scenario->brixInstalled) {
        if (auto done = prepareDeviceRoot(m_root.path()); !done)
            return done;
    }
    device::Hardware hardware = m_scenario->hardware;
    if (auto done = startWebServer(hardware); !done)
        return done;
    try {
        m_device = std::make_unique<device::Device>(m_root.path(), hardware);
    } catch (const fs::filesystem_error& error) {
        return foundation::Error { std::string("cannot lay out the device: ") + error.what() };
    }
    apps::defineApps(*m_device);
    if (auto done = writePreferences(); !done)
        return done;
    if (auto done = writeContainers(); !done)
        return done;
    for (auto& file : m_scenario->files) {
        if (auto done = writeFile(file, file.path); !done)
            return done;
    }
    if (m_scenario->conversations) {
        if (auto saved = messages::ConversationStore(*m_device).save(*m_scenario->conversations); !saved)
            return foundation::Error { "cannot write the conversations: " + saved.error().message };
    }
    if (auto done = writeContacts(); !done)
        return done;
    return writeTrustStore();
}

// The domain file is there before any process starts, as if the user had set
// the values long ago: nothing is announced.
foundation::Result<void> ScenarioDevice::writePreferences()
{
    if (m_scenario->preferences.empty())
        return {};
    Value values = Value::dictionary();
    for (auto& [key, value] : m_scenario->preferences)
        values.set(key, value);
    preferences::Domain domain(*m_device, std::string(brix::preferenceDomain));
    auto path = domain.hostPath();
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (auto written = foundation::writePropertyList(path, values, PropertyListFormat::Binary); !written)
        return foundation::Error { "cannot write the preferences: " + written.error().message };
    return {};
}

foundation::Result<void> ScenarioDevice::writeContainers()
{
    for (size_t index = 0; index < m_scenario->containers.size(); ++index) {
        auto& container = m_scenario->containers[index];
        auto uuid = container.uuid.empty() ? uuidFor(container.identifier, index) : container.uuid;
        auto folder = containerFolder(container, uuid);
        FileEntry metadata;
        metadata.plist = Value(Value::Dictionary {
            { "MCMMetadataIdentifier", Value(container.identifier) },
            { "MCMMetadataUUID", Value(uuid) },
            { "MCMMetadataContentClass", Value(container.kind == Container::Kind::Data ? 2 : 7) },
        });
        if (auto done = writeFile(metadata, folder + "/" + metadataFile); !done)
            return done;
        for (auto& file : container.files) {
            if (auto done = writeFile(file, folder + "/" + file.path); !done)
                return done;
        }
    }
    return {};
}

foundation::Result<void> ScenarioDevice::writeFile(const FileEntry& file, const std::string& devicePath)
{
    auto host = m_device->hostPath(devicePath);
    if (host.empty())
        return foundation::Error { "the path " + devicePath + " lies outside the device" };
    std::error_code error;
    fs::create_directories(host.parent_path(), error);
    if (error)
        return foundation::Error { "cannot create the folder of " + devicePath + ": " + error.message() };
    if (file.from) {
        fs::copy_file(*file.from, host, fs::copy_options::overwrite_existing, error);
        if (error)
            return foundation::Error { "cannot copy " + file.from->string() + " to " + devicePath + ": "
                + error.message() };
    } else if (file.text) {
        std::ofstream out(host, std::ios::binary | std::ios::trunc);
        out << *file.text;
        if (!out)
            return foundation::Error { "cannot write " + devicePath };
    } else if (file.plist) {
        auto format = devicePath.ends_with(metadataFile) ? PropertyListFormat::Binary : PropertyListFormat::Xml;
        if (auto written = foundation::writePropertyList(host, *file.plist, format); !written)
            return foundation::Error { "cannot write " + devicePath + ": " + written.error().message };
    } else if (file.sqlite) {
        return writeDatabase(*file.sqlite, devicePath);
    }
    return {};
}

namespace {

    // What fixture SQL may not do: name a file of its own (ATTACH, and VACUUM
    // INTO, which attaches its target), move SQLite's own folders, or load
    // code. The database stays the one file the scenario placed.
    struct SqlGuard {
        std::string refusal;
    };

    int authorizeFixtureSql(void* context, int action, const char* first, const char* second, const char*, const char*)
    {
        auto& guard = *static_cast<SqlGuard*>(context);
        auto named = [](const char* text) { return std::string(text ? text : ""); };
        switch (action) {
        case SQLITE_ATTACH:
            guard.refusal = "a scenario's SQL may not name another file (" + named(first)
                + "): ATTACH and VACUUM INTO are refused";
            return SQLITE_DENY;
        case SQLITE_DETACH:
            guard.refusal = "a scenario's SQL may not DETACH";
            return SQLITE_DENY;
        case SQLITE_PRAGMA:
            if (sqlite3_stricmp(named(first).c_str(), "temp_store_directory") == 0
                || sqlite3_stricmp(named(first).c_str(), "data_store_directory") == 0) {
                guard.refusal = "a scenario's SQL may not name a folder (PRAGMA " + named(first) + ")";
                return SQLITE_DENY;
            }
            return SQLITE_OK;
        case SQLITE_FUNCTION:
            if (sqlite3_stricmp(named(second).c_str(), "load_extension") == 0) {
                guard.refusal = "a scenario's SQL may not load extensions";
                return SQLITE_DENY;
            }
            return SQLITE_OK;
        default:
            return SQLITE_OK;
        }
    }

} // namespace

foundation::Result<void> ScenarioDevice::writeDatabase(
    const std::vector<std::string>& statements, const std::string& devicePath)
{
    auto host = m_device->hostPath(devicePath);
    std::error_code ignored;
    fs::remove(host, ignored);
    sqlite3* database = nullptr;
    std::optional<std::string> failure;
    if (sqlite3_open_v2(host.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        failure = "cannot make the database " + devicePath + ": " + sqlite3_errmsg(database);
    } else {
        SqlGuard guard;
        sqlite3_limit(database, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_db_config(database, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
        sqlite3_set_authorizer(database, authorizeFixtureSql, &guard);
        for (size_t index = 0; index < statements.size() && !failure; ++index) {
            char* message = nullptr;
            guard.refusal.clear();
            if (sqlite3_exec(database, statements[index].c_str(), nullptr, nullptr, &message) != SQLITE_OK)
                failure = "cannot make the database " + devicePath + ": statement " + std::to_string(index + 1) + " ("
                    + statements[index] + ") failed: "
                    + (!guard.refusal.empty() ? guard.refusal
                            : message         ? message
                                              : "unknown error");
            sqlite3_free(message);
        }
    }
    sqlite3_close(database);
    if (failure)
        return foundation::Error { std::move(*failure) };
    return {};
}

namespace {

    foundation::Result<void> readFixture(const fs::path& path, std::string& contents)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        if (!file)
            return foundation::Error { "cannot read the fixture " + path.string() };
        contents = text.str();
        return {};
    }

} // namespace

// The address book as a vCard file, in the order of the scenario.
foundation::Result<void> ScenarioDevice::writeContacts()
{
    if (m_scenario->contacts.empty())
        return {};
    std::vector<contacts::Card> cards;
    for (auto& contact : m_scenario->contacts) {
        contacts::Card card;
        card.identifier = contact.identifier.value_or("");
        card.givenName = contact.givenName;
        card.familyName = contact.familyName;
        for (auto& email : contact.emails)
            card.emailAddresses.push_back({ {}, email });
        for (auto& phone : contact.phones)
            card.phoneNumbers.push_back({ {}, phone });
        if (contact.photo) {
            std::string bytes;
            if (auto done = readFixture(*contact.photo, bytes); !done)
                return done;
            card.photo = foundation::Data(bytes.begin(), bytes.end());
        }
        cards.push_back(std::move(card));
    }
    FileEntry file;
    file.text = contacts::writeVCards(cards);
    return writeFile(file, contacts::AddressBook::path);
}

foundation::Result<void> ScenarioDevice::startWebServer(device::Hardware& hardware)
{
    if (m_scenario->web.empty())
        return {};
    std::map<std::string, WebServer::Answer> answers;
    for (auto& [url, answer] : m_scenario->web) {
        WebServer::Answer served { answer.status, answer.text.value_or(""), answer.delayMs, answer.hang, false, {},
            answer.headers, answer.gzip };
        if (answer.file) {
            if (auto done = readFixture(*answer.file, served.body); !done)
                return done;
        }
        answers.emplace(url, std::move(served));
    }
    try {
        m_authority = std::make_unique<CertificateAuthority>();
        m_webServer = std::make_unique<WebServer>(std::move(answers), *m_authority);
    } catch (const std::runtime_error& error) {
        return foundation::Error { std::string("cannot set up the web: ") + error.what() };
    }
    if (auto started = m_webServer->start(); !started)
        return foundation::Error { "cannot set up the web: " + started.error().message };
    hardware.network = m_webServer->networkSettings();
    return {};
}

// The device trusts the scenario's certificate authority, and nothing else.
foundation::Result<void> ScenarioDevice::writeTrustStore()
{
    if (!m_authority)
        return {};
    FileEntry file;
    file.text = m_authority->certificatePem();
    return writeFile(file, network::trustStorePath);
}

} // namespace tools::scenario
