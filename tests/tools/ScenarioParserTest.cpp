#include "tools/brix/scenario/ScenarioParser.h"

#include <fstream>
#include <gtest/gtest.h>

#include "tests/support/TempDirectory.h"
#include "tools/brix/Installation.h"

using tools::scenario::Json;
using tools::scenario::Scenario;
using tools::scenario::ScenarioParser;
namespace scenario = tools::scenario;

namespace {

foundation::Result<Scenario> parse(const Json& json, const std::filesystem::path& folder = "/nonexistent")
{
    return ScenarioParser::parseText(json.dump(), folder);
}

// The refusal message for a scenario of one step, or "" when it was accepted.
std::string refusalOfStep(const Json& step)
{
    auto result = parse({ { "format", 1 }, { "steps", Json::array({ step }) } });
    return result ? std::string() : result.error().message;
}

const Json notifyAlice = { { "notify", { { "app", "com.apple.MobileSMS" }, { "title", "Alice" } } } };

} // namespace

TEST(ScenarioParser, readsTheDefaultsOfAnEmptyDevice)
{
    auto result = parse({ { "format", 1 } });
    ASSERT_TRUE(result) << result.error().message;
    auto& scenario = result.value();
    EXPECT_EQ(scenario.hardware.systemVersion, "14.4");
    EXPECT_EQ(scenario.hardware.style, device::Hardware::Style::Light);
    EXPECT_DOUBLE_EQ(scenario.hardware.screenWidth, 390);
    EXPECT_DOUBLE_EQ(scenario.hardware.bottomSafeArea, 34);
    EXPECT_DOUBLE_EQ(scenario.hardware.startTime, 1767276300);
    EXPECT_TRUE(scenario.brixInstalled);
    EXPECT_TRUE(scenario.steps.empty());
}

TEST(ScenarioParser, readsTheDeviceSection)
{
    auto result = parse({ { "format", 1 },
        { "device",
            { { "systemVersion", "12.4" }, { "style", "dark" },
                { "screen", { { "width", 320 }, { "bottomSafeArea", 0 } } }, { "feedbackSupportLevel", 1 },
                { "locale", "de_DE" }, { "timeZone", "Europe/Berlin" }, { "time", "2026-01-01T15:05:30+01:00" },
                { "brix", false } } } });
    ASSERT_TRUE(result) << result.error().message;
    auto& hardware = result.value().hardware;
    EXPECT_EQ(hardware.systemVersion, "12.4");
    EXPECT_EQ(hardware.style, device::Hardware::Style::Dark);
    EXPECT_DOUBLE_EQ(hardware.screenWidth, 320);
    EXPECT_DOUBLE_EQ(hardware.screenHeight, 844);
    EXPECT_DOUBLE_EQ(hardware.bottomSafeArea, 0);
    EXPECT_EQ(hardware.feedbackSupportLevel, 1);
    EXPECT_EQ(hardware.locale, "de_DE");
    EXPECT_EQ(hardware.timeZone, "Europe/Berlin");
    EXPECT_DOUBLE_EQ(hardware.startTime, 1767276330);
    EXPECT_FALSE(result.value().brixInstalled);
}

TEST(ScenarioParser, refusesBadFilesWithAMessageNamingTheField)
{
    // The whole file: its version, its JSON, its top-level fields.
    EXPECT_FALSE(ScenarioParser::parseText("{\"format\": 1,", "/"));
    EXPECT_NE(parse({ { "steps", Json::array() } }).error().message.find("format"), std::string::npos);
    EXPECT_NE(parse({ { "format", 2 } }).error().message.find("format 2"), std::string::npos);
    EXPECT_NE(
        parse({ { "format", 1 }, { "stpes", Json::array() } }).error().message.find("\"stpes\""), std::string::npos);
    // The device section.
    auto device = [](Json fields) { return parse({ { "format", 1 }, { "device", fields } }).error().message; };
    EXPECT_NE(device({ { "style", "sepia" } }).find("device.style"), std::string::npos);
    EXPECT_NE(device({ { "screen", { { "width", 0 } } } }).find("device.screen.width"), std::string::npos);
    EXPECT_NE(device({ { "screen", { { "depth", 3 } } } }).find("\"depth\""), std::string::npos);
    EXPECT_NE(device({ { "feedbackSupportLevel", 3 } }).find("feedbackSupportLevel"), std::string::npos);
    EXPECT_NE(device({ { "time", "yesterday" } }).find("device.time"), std::string::npos);
    EXPECT_NE(device({ { "systemVersion", 14 } }).find("device.systemVersion must be a string"), std::string::npos);
    // Preferences: known keys of the right type only.
    auto preferences = [](Json values) {
        return parse({ { "format", 1 }, { "preferences", values } }).error().message;
    };
    EXPECT_NE(preferences({ { "timeToDismis", 3 } }).find("\"timeToDismis\""), std::string::npos);
    EXPECT_NE(preferences({ { "timeToDismiss", true } }).find("preferences.timeToDismiss"), std::string::npos);
    EXPECT_NE(preferences({ { "showButtons", 1 } }).find("preferences.showButtons"), std::string::npos);
}

TEST(ScenarioParser, refusesBadStepsNamingTheStepAndTheField)
{
    EXPECT_EQ(refusalOfStep(notifyAlice), "");
    auto unknown = refusalOfStep({ { "notify", { { "app", "com.apple.MobileSMS" }, { "titel", "Alice" } } } });
    EXPECT_NE(unknown.find("step 1"), std::string::npos) << unknown;
    EXPECT_NE(unknown.find("\"titel\""), std::string::npos) << unknown;
    EXPECT_NE(refusalOfStep({ { "notify", { { "title", 5 } } } }).find("step 1: notify.title must be a string"),
        std::string::npos);
    EXPECT_NE(refusalOfStep({ { "tap", "banner" }, { "press", "close" } }).find("both"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "at", 1 } }).find("does nothing"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "tap", "banner" }, { "over", "n1" } }).find("\"over\""), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "press", "delete" } }).find("step 1: press"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "pan", Json::array() } }).find("non-empty"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "pan", { -20 } }, { "end", "lifted" } }).find("step 1.end"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "present", { { "title", "Bob" } } } }).find("\"over\""), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "snapshot", "../screen.png" } }).find("plain file name"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "expect", { { "id", "n1" } } } }).find("\"type\""), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "lock", false } }).find("must be true"), std::string::npos);
    EXPECT_NE(
        refusalOfStep({ { "settings", "reboot" } }).find("\"testBanner\", \"respring\", \"reset\""), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "wait", -1 } }).find("step 1: wait"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "button", { { "force", 0.5 } } } }).find("button.type is missing"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "preferences", { { "tinyBanner", "yes" } } } }).find("step 1: preferences.tinyBanner"),
        std::string::npos);
    // Fields the notification object knows, in the wrong shape.
    auto notify = [](Json fields) { return refusalOfStep({ { "notify", fields } }); };
    // A user info carries null as a push payload does; a property list has no place for it.
    EXPECT_EQ(notify({ { "userInfo", { { "aps", nullptr } } } }), "");
    auto filePlist = parse({ { "format", 1 },
        { "files", Json::array({ { { "path", "/var/mobile/b.plist" }, { "plist", { { "key", nullptr } } } } }) } });
    ASSERT_FALSE(filePlist);
    EXPECT_NE(filePlist.error().message.find("plist.key cannot hold null"), std::string::npos)
        << filePlist.error().message;
    EXPECT_NE(notify({ { "actions", { { "supplementary", { { "default", "reply" } } } } } }).find("array"),
        std::string::npos);
    EXPECT_NE(notify({ { "options", { { "dismiss", false } } } }).find("\"dismiss\""), std::string::npos);
    EXPECT_NE(notify({ { "appIcon", "missing.png" } }).find("does not exist"), std::string::npos);
}

TEST(ScenarioParser, readsTheAddressBookTheWebAndDatabases)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "photo.jpg") << "jpeg";
    auto result
        = parse({ { "format", 1 },
                    { "contacts",
                        Json::array({ { { "identifier", "card-1" }, { "givenName", "Ann" },
                                          { "emails", Json::array({ "ann@example.com" }) }, { "photo", "photo.jpg" } },
                            { { "givenName", "Bo" } } }) },
                    { "web",
                        { { "https://pbs.twimg.com/profile_images/1/a.jpg", { { "file", "photo.jpg" } } },
                            { "http://example.com/page", { { "status", 404 }, { "text", "gone" } } },
                            { "https://slow.example.com/", { { "delayMs", 500 }, { "hang", true } } } } },
                    { "files",
                        Json::array({ { { "path", "/var/mobile/db.sqlite" },
                            { "sqlite", Json::array({ "CREATE TABLE t (a)", "INSERT INTO t VALUES (1)" }) } } }) } },
            folder.path());
    ASSERT_TRUE(result) << result.error().message;
    auto& scenario = result.value();
    ASSERT_EQ(scenario.contacts.size(), 2u);
    EXPECT_EQ(scenario.contacts[0].identifier, "card-1");
    EXPECT_EQ(scenario.contacts[0].emails, std::vector<std::string> { "ann@example.com" });
    EXPECT_EQ(scenario.contacts[0].photo, folder.path() / "photo.jpg");
    EXPECT_FALSE(scenario.contacts[1].identifier);
    ASSERT_EQ(scenario.web.size(), 3u);
    EXPECT_EQ(scenario.web[0].first, "https://pbs.twimg.com/profile_images/1/a.jpg");
    EXPECT_EQ(scenario.web[0].second.status, 200);
    EXPECT_EQ(scenario.web[1].second.text, "gone");
    EXPECT_EQ(scenario.web[2].second.delayMs, 500);
    EXPECT_TRUE(scenario.web[2].second.hang);
    ASSERT_EQ(scenario.files.size(), 1u);
    EXPECT_EQ(scenario.files[0].sqlite->size(), 2u);
}

TEST(ScenarioParser, refusesMalformedContactsWebAnswersAndDatabases)
{
    auto refusal = [](Json fields) {
        Json root = { { "format", 1 } };
        for (auto& [key, value] : fields.items())
            root[key] = value;
        auto result = parse(root);
        return result ? std::string() : result.error().message;
    };
    EXPECT_NE(
        refusal({ { "contacts", { { "givenName", "Ann" } } } }).find("contacts must be an array"), std::string::npos);
    EXPECT_NE(refusal({ { "contacts", Json::array({ { { "emails", "ann@example.com" } } }) } })
                  .find("contacts[0].emails must be an array"),
        std::string::npos);
    EXPECT_NE(
        refusal({ { "contacts", Json::array({ { { "nickname", "A" } } }) } }).find("\"nickname\""), std::string::npos);
    EXPECT_NE(refusal({ { "contacts", Json::array({ { { "photo", "missing.jpg" } } }) } }).find("does not exist"),
        std::string::npos);
    EXPECT_NE(refusal({ { "web", { { "file:///etc/passwd", Json::object() } } } }).find("not an http or https URL"),
        std::string::npos);
    EXPECT_NE(
        refusal({ { "web", { { "https://a.example/x", { { "status", 99 } } } } } }).find("status"), std::string::npos);
    EXPECT_NE(
        refusal({ { "web", { { "https://a.example/x", { { "text", "a" }, { "file", "b" } } } } } }).find("at most one"),
        std::string::npos);
    EXPECT_NE(
        refusal(
            { { "web", { { "https://A.example/x", Json::object() }, { "https://a.example:443/x", Json::object() } } } })
            .find("answered twice"),
        std::string::npos);
    EXPECT_NE(refusal({ { "files", Json::array({ { { "path", "/var/db" }, { "sqlite", Json::array() } } }) } })
                  .find("files[0].sqlite must be a non-empty array"),
        std::string::npos);
    EXPECT_NE(refusal({ { "files", Json::array({ { { "path", "/var/db" }, { "sqlite", { 1 } } } }) } })
                  .find("files[0].sqlite[0]"),
        std::string::npos);
}

TEST(ScenarioParser, readsTheSettingsBundlesActions)
{
    for (const char* action : { "testBanner", "respring", "reset" }) {
        auto result = parse({ { "format", 1 }, { "steps", Json::array({ { { "settings", action } } }) } });
        ASSERT_TRUE(result) << action;
        ASSERT_EQ(result->steps.size(), 1u);
        auto* step = std::get_if<tools::scenario::SettingsAction>(&result->steps[0].action);
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(step->action, action);
    }
}

TEST(ScenarioParser, timesStepsByAtAfterAndWait)
{
    auto result = parse({ { "format", 1 },
        { "steps",
            Json::array(
                { notifyAlice, { { "after", 1.5 }, { "tap", "banner" } }, { { "wait", 2 } }, { { "inspect", "n1" } },
                    { { "at", 10 }, { "lock", true } }, { { "after", 0.25 }, { "lock", true } } }) } });
    ASSERT_TRUE(result) << result.error().message;
    auto& steps = result.value().steps;
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_DOUBLE_EQ(steps[0].time, 0);
    EXPECT_DOUBLE_EQ(steps[1].time, 1.5);
    EXPECT_DOUBLE_EQ(steps[2].time, 1.5);
    // A wait ends 2 seconds later, where the next step begins.
    EXPECT_DOUBLE_EQ(steps[3].time, 3.5);
    EXPECT_DOUBLE_EQ(steps[4].time, 10);
    EXPECT_DOUBLE_EQ(steps[5].time, 10.25);
    EXPECT_EQ(steps[3].number, 4u);
    EXPECT_EQ(steps[3].kind, "inspect");

    // Time never runs backwards, and a step has one time.
    auto twoSteps = parse({ { "format", 1 },
        { "steps", Json::array({ { { "at", 5 }, { "lock", true } }, { { "at", 4 }, { "lock", true } } }) } });
    ASSERT_FALSE(twoSteps);
    EXPECT_NE(twoSteps.error().message.find("step 2"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "at", 1 }, { "after", 1 }, { "lock", true } }).find("both"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "after", -1 }, { "lock", true } }).find("negative"), std::string::npos);
}

TEST(ScenarioParser, namesNotificationsInOrderAroundTheIdsTheFileGives)
{
    Json named = notifyAlice;
    named["notify"]["id"] = "n2";
    auto result = parse({ { "format", 1 },
        { "steps",
            Json::array(
                { notifyAlice, named, notifyAlice, { { "present", { { "title", "Carol" } } }, { "over", "n1" } },
                    { { "notifyList", { { "app", "com.apple.mobiletimer" } } } } }) } });
    ASSERT_TRUE(result) << result.error().message;
    auto& steps = result.value().steps;
    EXPECT_EQ(std::get<scenario::Notify>(steps[0].action).notification.id, "n1");
    EXPECT_EQ(std::get<scenario::Notify>(steps[1].action).notification.id, "n2");
    EXPECT_EQ(std::get<scenario::Notify>(steps[2].action).notification.id, "n3");
    EXPECT_EQ(std::get<scenario::Present>(steps[3].action).notification.id, "n4");
    EXPECT_EQ(std::get<scenario::Present>(steps[3].action).over, "n1");
    EXPECT_EQ(std::get<scenario::NotifyList>(steps[4].action).notification.id, "n5");
    // The test banner the system shows later takes the next one.
    EXPECT_EQ(result.value().nextSequenceNumber, 6);

    auto twice = parse({ { "format", 1 }, { "steps", Json::array({ named, named }) } });
    ASSERT_FALSE(twice);
    EXPECT_NE(
        twice.error().message.find("step 2: notify.id \"n2\" is used by another notification"), std::string::npos);
}

TEST(ScenarioParser, readsANotificationWithAllItsFields)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "icon.png") << "not really a picture";
    Json notify = { { "id", "alarm" }, { "app", "com.apple.mobiletimer" }, { "title", "Alarm" },
        { "subtitle", nullptr }, { "message", "Wake up" }, { "summary", "2 more" }, { "thread", "t1" },
        { "userInfo", { { "count", 2 }, { "ratio", 0.5 }, { "tags", { "a", "b" } }, { "avatar", nullptr } } },
        { "icon", "icon.png" }, { "appIcon", "icon.png" },
        { "actions",
            { { "close", "stop" }, { "default", nullptr },
                { "supplementary", { { "default", { "MTAlarmSnoozeAction", "other" } } } } } },
        { "options", { { "dismissAutomatically", false } } } };
    auto result = parse({ { "format", 1 }, { "steps", Json::array({ { { "notify", notify } } }) } }, folder.path());
    ASSERT_TRUE(result) << result.error().message;
    auto& notification = std::get<scenario::Notify>(result.value().steps[0].action).notification;
    EXPECT_EQ(notification.id, "alarm");
    EXPECT_EQ(notification.app, "com.apple.mobiletimer");
    EXPECT_FALSE(notification.subtitle);
    EXPECT_EQ(notification.summary, "2 more");
    EXPECT_EQ(notification.userInfo["count"].integer(), 2);
    EXPECT_DOUBLE_EQ(notification.userInfo["ratio"].real(), 0.5);
    EXPECT_EQ(notification.userInfo["tags"][1].string(), "b");
    EXPECT_TRUE(notification.userInfo["avatar"].isNull());
    EXPECT_EQ(notification.icon, folder.path() / "icon.png");
    EXPECT_EQ(notification.closeAction, "stop");
    EXPECT_FALSE(notification.clearAction);
    EXPECT_FALSE(notification.defaultAction);
    ASSERT_EQ(notification.supplementaryActions.size(), 1u);
    EXPECT_EQ(notification.supplementaryActions[0].second[0], "MTAlarmSnoozeAction");
    EXPECT_TRUE(notification.hasOptions);
    EXPECT_FALSE(notification.dismissAutomatically);

    // A notification says nothing of its options only when it says null.
    auto bare = parse({ { "format", 1 },
        { "steps", Json::array({ { { "notify", { { "title", "Hi" }, { "options", nullptr } } } }, notifyAlice }) } });
    ASSERT_TRUE(bare);
    EXPECT_FALSE(std::get<scenario::Notify>(bare.value().steps[0].action).notification.hasOptions);
    auto& plain = std::get<scenario::Notify>(bare.value().steps[1].action).notification;
    EXPECT_TRUE(plain.hasOptions);
    EXPECT_TRUE(plain.dismissAutomatically);
    EXPECT_EQ(plain.defaultAction, "com.apple.UNNotificationDefaultActionIdentifier");
}

TEST(ScenarioParser, readsFilesAndContainers)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "photo.jpg") << "jpeg";
    Json root = { { "format", 1 },
        { "files",
            Json::array({ { { "path", "/var/mobile/a.txt" }, { "text", "hello" } },
                { { "path", "/var/mobile/b.plist" }, { "plist", { { "key", Json::array({ 1, 2 }) } } } },
                { { "path", "/var/mobile/c.jpg" }, { "from", "photo.jpg" } } }) },
        { "containers",
            Json::array({ { { "kind", "group" }, { "identifier", "group.ph.telegra.Telegraph" },
                { "files", Json::array({ { { "path", "accounts/photo.jpg" }, { "from", "photo.jpg" } } }) } } }) } };
    auto result = parse(root, folder.path());
    ASSERT_TRUE(result) << result.error().message;
    auto& scenario = result.value();
    ASSERT_EQ(scenario.files.size(), 3u);
    EXPECT_EQ(scenario.files[0].text, "hello");
    EXPECT_EQ((*scenario.files[1].plist)["key"][1].integer(), 2);
    EXPECT_EQ(scenario.files[2].from, folder.path() / "photo.jpg");
    ASSERT_EQ(scenario.containers.size(), 1u);
    EXPECT_EQ(scenario.containers[0].kind, scenario::Container::Kind::Group);
    EXPECT_EQ(scenario.containers[0].files[0].path, "accounts/photo.jpg");

    // Paths stay inside the device or the container; a file has exactly one source.
    auto files = [&](Json entry) {
        auto refused = parse({ { "format", 1 }, { "files", Json::array({ entry }) } }, folder.path());
        return refused ? std::string() : refused.error().message;
    };
    EXPECT_NE(files({ { "path", "var/a.txt" }, { "text", "x" } }).find("absolute"), std::string::npos);
    EXPECT_NE(
        files({ { "path", "/var/../../etc/passwd" }, { "text", "x" } }).find("must not go up"), std::string::npos);
    EXPECT_NE(files({ { "path", "/var/a" }, { "text", "x" }, { "from", "photo.jpg" } }).find("exactly one"),
        std::string::npos);
    EXPECT_NE(files({ { "path", "/var/a" } }).find("exactly one"), std::string::npos);
    auto container
        = parse({ { "format", 1 },
                    { "containers",
                        Json::array({ { { "kind", "data" }, { "identifier", "x" },
                            { "files", Json::array({ { { "path", "../x" }, { "from", "photo.jpg" } } }) } } }) } },
            folder.path());
    ASSERT_FALSE(container);
    EXPECT_NE(container.error().message.find("containers[0].files[0].path"), std::string::npos);
    auto kind
        = parse({ { "format", 1 }, { "containers", Json::array({ { { "kind", "app" }, { "identifier", "x" } } }) } });
    ASSERT_FALSE(kind);
    EXPECT_NE(kind.error().message.find("containers[0].kind"), std::string::npos);
}

TEST(ScenarioParser, readsAFileAndResolvesFixturesBesideIt)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "icon.png") << "png";
    std::ofstream(folder.path() / "scenario.json")
        << R"({"format": 1, "steps": [{"notify": {"title": "Hi", "appIcon": "icon.png"}}]})";
    auto result = ScenarioParser::parseFile(folder.path() / "scenario.json");
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(
        std::get<scenario::Notify>(result.value().steps[0].action).notification.appIcon, folder.path() / "icon.png");
    auto missing = ScenarioParser::parseFile(folder.path() / "absent.json");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("cannot read"), std::string::npos);
}

TEST(ScenarioParser, readsTheConversationsInOrderAndRefusesBadOnes)
{
    auto result = parse({ { "format", 1 },
        { "conversations", Json::array({ { { "guid", "SMS;-;+15557654321" } }, { { "guid", "iMessage;-;a" } } }) } });
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(result.value().conversations, (std::vector<std::string> { "SMS;-;+15557654321", "iMessage;-;a" }));
    EXPECT_FALSE(parse({ { "format", 1 } }).value().conversations);

    auto refusal = [](Json conversations) {
        auto refused = parse({ { "format", 1 }, { "conversations", conversations } });
        return refused ? std::string() : refused.error().message;
    };
    EXPECT_NE(refusal({ { "guid", "a" } }).find("conversations must be an array"), std::string::npos);
    EXPECT_NE(refusal(Json::array({ "a" })).find("conversations[0] must be an object"), std::string::npos);
    EXPECT_NE(refusal(Json::array({ Json::object() })).find("conversations[0].guid is missing"), std::string::npos);
    EXPECT_NE(refusal(Json::array({ { { "guid", "" } } })).find("conversations[0].guid is empty"), std::string::npos);
    EXPECT_NE(refusal(Json::array({ { { "guid", 5 } } })).find("must be a string"), std::string::npos);
    EXPECT_NE(refusal(Json::array({ { { "guid", "a" }, { "name", "Alice" } } })).find("unknown field \"name\""),
        std::string::npos);
    EXPECT_NE(refusal(Json::array({ { { "guid", "a" } }, { { "guid", "a" } } }))
                  .find("conversations[1].guid \"a\" is listed twice"),
        std::string::npos);
}

TEST(ScenarioParser, readsTouchesByPositionAndCountsTheirLengthBeforeTheNextStep)
{
    Json steps = Json::array();
    steps.push_back({ { "at", 1 }, { "touch", { { 10, 20 }, { 10, 30.5 }, { 10, 41 } } }, { "interval", 0.25 },
        { "end", "cancelled" } });
    steps.push_back({ { "after", 0.5 }, { "tapAt", { 5, 6 } } });
    steps.push_back({ { "keys", "Hi\n\b" } });
    steps.push_back({ { "touch", { { 1, 2 } } }, { "end", nullptr } });
    auto result = parse({ { "format", 1 }, { "steps", steps } });
    ASSERT_TRUE(result) << result.error().message;
    auto& read = result.value().steps;
    auto& touch = std::get<scenario::Touch>(read[0].action);
    EXPECT_EQ(touch.points.size(), 3u);
    EXPECT_DOUBLE_EQ(touch.points[1].second, 30.5);
    EXPECT_DOUBLE_EQ(touch.interval, 0.25);
    EXPECT_EQ(touch.end, scenario::Pan::End::Cancelled);
    // The finger lifts half a second after it went down; the tap follows half a second later.
    EXPECT_DOUBLE_EQ(read[1].time, 2);
    EXPECT_DOUBLE_EQ(std::get<scenario::TapAt>(read[1].action).y, 6);
    EXPECT_EQ(std::get<scenario::Keys>(read[2].action).text, "Hi\n\b");
    auto& stillDown = std::get<scenario::Touch>(read[3].action);
    EXPECT_EQ(stillDown.end, scenario::Pan::End::StillDown);
    EXPECT_DOUBLE_EQ(stillDown.interval, 0.016);

    // A step cannot start before a touch has ended.
    Json early = Json::array();
    early.push_back({ { "touch", { { 1, 2 }, { 1, 3 }, { 1, 4 } } }, { "interval", 1 } });
    early.push_back({ { "at", 1 }, { "tapAt", { 1, 2 } } });
    auto refused = parse({ { "format", 1 }, { "steps", early } });
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("before the time the previous step ends"), std::string::npos);

    EXPECT_NE(refusalOfStep({ { "touch", Json::array() } }).find("non-empty"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "touch", { { 1, 2 }, { 3 } } } }).find("step 1: touch[1] must be a point"),
        std::string::npos);
    EXPECT_NE(
        refusalOfStep({ { "touch", { { 1, 2 } } }, { "interval", 0 } }).find("step 1.interval"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "touch", { { 1, 2 } } }, { "end", "up" } }).find("step 1.end"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "tapAt", { "1", 2 } } }).find("step 1: tapAt must be a point"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "tapAt", { 1, 2, 3 } } }).find("tapAt must be a point"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "keys", "" } }).find("step 1: keys"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "keys", 5 } }).find("step 1: keys"), std::string::npos);
    EXPECT_NE(refusalOfStep({ { "tapAt", { 1, 2 } }, { "on", "n1" } }).find("\"on\""), std::string::npos);
}

TEST(ScenarioParser, fixturesLieInTheScenariosFolder)
{
    TempDirectory outside;
    std::ofstream(outside.path() / "secret.png") << "png";
    TempDirectory folder;
    std::filesystem::create_directories(folder.path() / "fixtures" / "deeper");
    std::ofstream(folder.path() / "fixtures" / "icon.png") << "png";
    std::filesystem::create_symlink(outside.path() / "secret.png", folder.path() / "fixtures" / "link.png");
    auto refusal = [&](const std::string& icon) {
        auto result
            = parse({ { "format", 1 }, { "steps", Json::array({ { { "notify", { { "appIcon", icon } } } } }) } },
                folder.path());
        return result ? std::string() : result.error().message;
    };
    EXPECT_EQ(refusal("fixtures/icon.png"), "");
    EXPECT_EQ(refusal("fixtures/deeper/../icon.png"), "");
    EXPECT_EQ(refusal("./fixtures/icon.png"), "");

    std::string absolute = (outside.path() / "secret.png").string();
    EXPECT_NE(refusal(absolute).find("is an absolute path"), std::string::npos) << refusal(absolute);
    EXPECT_NE(refusal((folder.path() / "fixtures/icon.png").string()).find("is an absolute path"), std::string::npos);
    auto up = "../" + outside.path().filename().string() + "/secret.png";
    EXPECT_NE(refusal(up).find("lies outside the scenario's folder"), std::string::npos) << refusal(up);
    EXPECT_NE(refusal("fixtures/../../x.png").find("lies outside the scenario's folder"), std::string::npos);
    EXPECT_NE(refusal("fixtures/link.png").find("leads outside the scenario's folder"), std::string::npos)
        << refusal("fixtures/link.png");

    // The tool's own fixtures (the demo's, which the studio's saved sessions name) are not the host's files.
    auto toolFixture = tools::installation().demoTour.parent_path() / "fixtures" / "alice.png";
    EXPECT_EQ(refusal(toolFixture.string()), "");
    EXPECT_NE(refusal((toolFixture.parent_path() / "../tour.json").string()).find("absolute"), std::string::npos);
}
