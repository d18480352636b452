#include "tools/brix/scenario/ScenarioDevice.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/foundation/PropertyList.h"
#include "platform/messages/ConversationStore.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"

using tools::scenario::Json;
using tools::scenario::ScenarioDevice;
using tools::scenario::ScenarioParser;

namespace {

std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(ScenarioDevice, laysOutPreferencesContainersAndFilesBeforeStartUp)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "photo.jpg") << "jpeg bytes";
    Json root = { { "format", 1 }, { "preferences", { { "timeToDismiss", 3 }, { "tinyBanner", true } } },
        { "containers",
            Json::array({ { { "kind", "group" }, { "identifier", "group.ph.telegra.Telegraph" },
                { "uuid", "0A1B2C3D-0000-4000-8000-000000000001" },
                { "files", Json::array({ { { "path", "avatars/1.jpg" }, { "from", "photo.jpg" } } }) } } }) },
        { "files",
            Json::array({ { { "path", "/var/mobile/notes.txt" }, { "text", "héllo" } },
                { { "path", "/private/var/mobile/settings.plist" }, { "plist", { { "on", true } } } } }) } };
    auto scenario = ScenarioParser::parseText(root.dump(), folder.path());
    ASSERT_TRUE(scenario) << scenario.error().message;
    ScenarioDevice device(scenario.value());
    ASSERT_TRUE(device.prepare());
    auto& phone = device.device();

    auto preferences
        = foundation::readPropertyList(phone.hostPath("/var/mobile/Library/Preferences/com.ostwyn.brixprefs.plist"));
    ASSERT_TRUE(preferences);
    EXPECT_EQ((*preferences)["timeToDismiss"].integer(), 3);
    EXPECT_TRUE((*preferences)["tinyBanner"].boolean());
    // Nothing was announced: the values were there before the device started.
    EXPECT_TRUE(phone.trace().events().empty());

    std::string container = "/var/mobile/Containers/Shared/AppGroup/0A1B2C3D-0000-4000-8000-000000000001";
    auto metadata = foundation::readPropertyList(
        phone.hostPath(container + "/.com.apple.mobile_container_manager.metadata.plist"));
    ASSERT_TRUE(metadata);
    EXPECT_EQ((*metadata)["MCMMetadataIdentifier"].string(), "group.ph.telegra.Telegraph");
    EXPECT_EQ(readText(phone.hostPath(container + "/avatars/1.jpg")), "jpeg bytes");
    // /var and /private/var are the same folder.
    EXPECT_EQ(readText(phone.hostPath("/private/var/mobile/notes.txt")), "héllo");
    auto settings = foundation::readPropertyList(phone.hostPath("/var/mobile/settings.plist"));
    ASSERT_TRUE(settings);
    EXPECT_TRUE((*settings)["on"].boolean());
    EXPECT_NE(readText(phone.hostPath("/var/mobile/settings.plist")).find("<?xml"), std::string::npos);
}

TEST(ScenarioDevice, installsBrixUnlessTheScenarioSaysItIsAbsent)
{
    for (bool installed : { true, false }) {
        Json root = { { "format", 1 }, { "device", { { "brix", installed } } } };
        auto scenario = ScenarioParser::parseText(root.dump(), "/");
        ASSERT_TRUE(scenario);
        ScenarioDevice device(scenario.value());
        ASSERT_TRUE(device.prepare());
        auto library = device.device().hostPath("/Library/MobileSubstrate/DynamicLibraries/Brix.so");
        EXPECT_EQ(std::filesystem::exists(library), installed);
    }
}

TEST(ScenarioDevice, givesAContainerWithoutUuidTheSameOneEveryTime)
{
    Json root = { { "format", 1 },
        { "containers", Json::array({ { { "kind", "data" }, { "identifier", "net.whatsapp.WhatsApp" } } }) } };
    auto scenario = ScenarioParser::parseText(root.dump(), "/");
    ASSERT_TRUE(scenario);
    std::vector<std::string> folders;
    for (int run = 0; run < 2; ++run) {
        ScenarioDevice device(scenario.value());
        ASSERT_TRUE(device.prepare());
        auto base = device.device().hostPath("/var/mobile/Containers/Data/Application");
        for (auto& entry : std::filesystem::directory_iterator(base))
            folders.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0], folders[1]);
    EXPECT_EQ(folders[0].size(), 36u);
}

TEST(ScenarioDevice, storesTheConversationsOfMessagesOnlyWhenTheScenarioHasThem)
{
    Json root = { { "format", 1 },
        { "conversations", Json::array({ { { "guid", "SMS;-;+15557654321" } }, { { "guid", "iMessage;-;a" } } }) } };
    auto scenario = ScenarioParser::parseText(root.dump(), "/");
    ASSERT_TRUE(scenario) << scenario.error().message;
    ScenarioDevice device(scenario.value());
    ASSERT_TRUE(device.prepare());
    auto stored = messages::ConversationStore(device.device()).load();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored.value(), (std::vector<std::string> { "SMS;-;+15557654321", "iMessage;-;a" }));

    auto without = ScenarioParser::parseText(R"({"format": 1})", "/");
    ASSERT_TRUE(without);
    ScenarioDevice empty(without.value());
    ASSERT_TRUE(empty.prepare());
    EXPECT_FALSE(std::filesystem::exists(empty.device().hostPath(messages::ConversationStore::devicePath)));
}

TEST(ScenarioDevice, writesTheAddressBookAndDatabasesAndServesTheWebToTheDevice)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "photo.jpg") << "jpeg bytes";
    Json root = { { "format", 1 },
        { "contacts",
            Json::array({ { { "identifier", "card-1" }, { "givenName", "Ann" }, { "familyName", "Lee" },
                { "emails", Json::array({ "ann@example.com" }) }, { "photo", "photo.jpg" } } }) },
        { "files",
            Json::array({ { { "path", "/var/mobile/db.sqlite" },
                { "sqlite", Json::array({ "CREATE TABLE t (name TEXT)", "INSERT INTO t VALUES ('Ann')" }) } } }) },
        { "web", { { "https://pbs.twimg.com/profile_images/1/a.jpg", { { "text", "picture" } } } } } };
    auto scenario = ScenarioParser::parseText(root.dump(), folder.path());
    ASSERT_TRUE(scenario) << scenario.error().message;
    ScenarioDevice device(scenario.value());
    ASSERT_TRUE(device.prepare());
    auto& phone = device.device();

    std::string book = readText(phone.hostPath("/var/mobile/Library/AddressBook/Contacts.vcf"));
    EXPECT_NE(book.find("UID:card-1\r\n"), std::string::npos);
    EXPECT_NE(book.find("N:Lee;Ann;;;\r\n"), std::string::npos);
    EXPECT_NE(book.find("EMAIL:ann@example.com\r\n"), std::string::npos);
    EXPECT_NE(book.find("PHOTO:data:application/octet-stream;base64,anBlZyBieXRlcw==\r\n"), std::string::npos);
    EXPECT_NE(readText(phone.hostPath("/var/mobile/db.sqlite")).find("SQLite format 3"), std::string::npos);

    // The device reaches the scenario's host on the loopback server and trusts its authority.
    ASSERT_NE(device.webServer(), nullptr);
    auto& routes = phone.hardware().network.loopbackServers;
    ASSERT_EQ(routes.count("pbs.twimg.com:443"), 1u);
    EXPECT_EQ(routes.at("pbs.twimg.com:443"), device.webServer()->httpsPort());
    EXPECT_NE(readText(phone.hostPath("/private/etc/ssl/cert.pem")).find("BEGIN CERTIFICATE"), std::string::npos);
}

TEST(ScenarioDevice, refusesADatabaseWhoseStatementsFail)
{
    Json root = { { "format", 1 },
        { "files",
            Json::array({ { { "path", "/var/mobile/db.sqlite" },
                { "sqlite", Json::array({ "CREATE TABLE t (a)", "INSERT INTO missing VALUES (1)" }) } } }) } };
    auto scenario = ScenarioParser::parseText(root.dump(), "/nonexistent");
    ASSERT_TRUE(scenario) << scenario.error().message;
    ScenarioDevice device(scenario.value());
    auto prepared = device.prepare();
    ASSERT_FALSE(prepared);
    EXPECT_NE(
        prepared.error().message.find("statement 2 (INSERT INTO missing VALUES (1)) failed: no such table: missing"),
        std::string::npos)
        << prepared.error().message;
}

TEST(ScenarioDevice, databaseStatementsReachNoFileButTheirOwn)
{
    TempDirectory host;
    auto outside = host.path() / "outside.db";
    std::string quoted = "'" + outside.string() + "'";
    for (const std::string& statement : std::vector<std::string> { "ATTACH DATABASE " + quoted + " AS other",
             "VACUUM INTO " + quoted, "ATTACH " + ("'file:" + outside.string() + "?mode=rwc'") + " AS other" }) {
        Json root = { { "format", 1 },
            { "files",
                Json::array({ { { "path", "/var/mobile/db.sqlite" },
                    { "sqlite", Json::array({ "CREATE TABLE t (a)", "INSERT INTO t VALUES (1)", statement }) } } }) } };
        auto scenario = ScenarioParser::parseText(root.dump(), "/nonexistent");
        ASSERT_TRUE(scenario) << scenario.error().message;
        ScenarioDevice device(scenario.value());
        auto prepared = device.prepare();
        ASSERT_FALSE(prepared) << statement;
        EXPECT_NE(prepared.error().message.find(
                      "statement 3 (" + statement + ") failed: a scenario's SQL may not name another file"),
            std::string::npos)
            << prepared.error().message;
        EXPECT_FALSE(std::filesystem::exists(outside)) << statement << " wrote a file outside the device";
    }
}
