#include "tools/brix/studio/StudioServer.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sstream>
#include <thread>

#include "tools/brix/studio/Studio.h"

using nlohmann::json;
using tools::studio::Studio;
using tools::studio::StudioServer;

namespace {

// A studio on the session the tool ships, its device running on a thread of
// its own, behind a server on 127.0.0.1 that the tests reach over real HTTP.
struct StudioServerTest : ::testing::Test {
    StudioServerTest()
        // A finger holds the clock for as long as a loaded machine may take
        // between two of its events.
        : studio({ BRIX_STUDIO_SESSION, 1, 80, 60, &log, 30 })
        , server(studio, BRIX_STUDIO_PAGE)
    {
        auto started = studio.start();
        EXPECT_TRUE(started) << started.error().message;
        device = std::thread([this] { studio.run(); });
        auto bound = server.start(0);
        EXPECT_TRUE(bound) << bound.error().message;
        client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
        client->set_read_timeout(90, 0);
    }
    ~StudioServerTest() override
    {
        studio.stop();
        device.join();
        server.stop();
    }

    httplib::Headers withToken(httplib::Headers headers = {}) const
    {
        headers.emplace("X-Brix-Token", server.token());
        return headers;
    }
    json body(const httplib::Result& result) const { return json::parse(result->body, nullptr, false); }
    httplib::Result push(const std::string& payload, const std::string& app = "")
    {
        std::string path = "/api/push";
        if (!app.empty())
            path += "?app=" + app;
        return client->Post(path.c_str(), withToken(), payload, "application/json");
    }
    json state() { return body(client->Get("/api/state", withToken())); }
    size_t eventsOfType(const std::string& type)
    {
        auto trace = body(client->Get("/api/trace", withToken()));
        size_t count = 0;
        for (auto& event : trace)
            count += event.value("type", "") == type;
        return count;
    }
    // Waits, a bounded time, for the device to trace `count` events of `type`.
    bool waitForEvents(const std::string& type, size_t count)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (eventsOfType(type) >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::ostringstream log;
    Studio studio;
    StudioServer server;
    std::thread device;
    std::unique_ptr<httplib::Client> client;
};

TEST_F(StudioServerTest, EveryRequestNeedsTheRunsToken)
{
    for (const char* path : { "/", "/studio.js", "/api/state", "/api/trace", "/api/scenario", "/api/settings" }) {
        auto none = client->Get(path);
        ASSERT_TRUE(none) << path;
        EXPECT_EQ(none->status, 403) << path;
        EXPECT_NE(body(none).value("error", "").find("token"), std::string::npos) << none->body;
        auto wrong = client->Get(path, { { "X-Brix-Token", std::string(server.token().size(), '0') } });
        EXPECT_EQ(wrong->status, 403) << path;
    }
    auto posted = client->Post("/api/step", R"({"style": "dark"})", "application/json");
    EXPECT_EQ(posted->status, 403);
    EXPECT_EQ(state().value("style", ""), "light") << "a refused request changed the device";

    // The token as the printed address carries it, then as the cookie that answer set.
    auto page = client->Get(("/?token=" + server.token()).c_str());
    ASSERT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("studio.js"), std::string::npos);
    auto cookie = page->get_header_value("Set-Cookie");
    ASSERT_FALSE(cookie.empty());
    auto byCookie = client->Get("/api/state", { { "Cookie", cookie.substr(0, cookie.find(';')) } });
    EXPECT_EQ(byCookie->status, 200);
    EXPECT_EQ(client->Get("/api/state", withToken())->status, 200);
}

TEST_F(StudioServerTest, RequestsForAnotherHostOrFromAnotherOriginAreRefused)
{
    std::string port = std::to_string(server.port());
    for (std::string host : std::vector<std::string> {
             "evil.example:" + port, "evil.example", "127.0.0.1:1", "127.0.0.1.evil.example:" + port }) {
        auto answer = client->Get("/api/state", withToken({ { "Host", host } }));
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 403) << host;
    }
    for (std::string origin :
        std::vector<std::string> { "http://evil.example", "http://127.0.0.1:1", "null", "https://127.0.0.1:" + port }) {
        auto answer = client->Post(
            "/api/step", withToken({ { "Origin", origin } }), R"({"style": "dark"})", "application/json");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 403) << origin;
    }
    EXPECT_EQ(state().value("style", ""), "light");
    auto own = client->Post("/api/step", withToken({ { "Origin", "http://127.0.0.1:" + port } }),
        R"({"style": "dark"})", "application/json");
    EXPECT_EQ(own->status, 200) << own->body;
    EXPECT_EQ(client->Get("/api/state", withToken({ { "Host", "localhost:" + port } }))->status, 200);
}

TEST_F(StudioServerTest, BodiesOverTheLimitAreRefused)
{
    std::string payload = R"({"aps": {"alert": ")" + std::string(StudioServer::maxBodyBytes, 'x') + R"("}})";
    auto answer = push(payload, "com.apple.MobileSMS");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 413);
    EXPECT_EQ(state()["steps"], 0);
}

TEST_F(StudioServerTest, BadPayloadsAreAnsweredWithTheReasonAndChangeNothing)
{
    struct Case {
        std::string payload, app, reason;
    };
    std::vector<Case> cases {
        { "{\"aps\": ", "com.apple.MobileSMS", "not JSON" },
        { "[1, 2]", "com.apple.MobileSMS", "not a JSON object" },
        { R"({"alert": "hi"})", "com.apple.MobileSMS", "no \"aps\"" },
        { R"({"aps": {"badge": 1}})", "com.apple.MobileSMS", "no aps.alert" },
        { R"({"aps": {"alert": 7}})", "com.apple.MobileSMS", "neither a string nor a dictionary" },
        { R"({"aps": {"alert": {"title": 7}}})", "com.apple.MobileSMS", "aps.alert.title is not a string" },
        { R"({"aps": {"alert": "hi", "thread-id": []}})", "com.apple.MobileSMS", "thread-id is not a string" },
        { R"({"aps": {"alert": "hi"}})", "", "names no app" },
    };
    for (auto& each : cases) {
        auto answer = push(each.payload, each.app);
        ASSERT_TRUE(answer) << each.payload;
        EXPECT_EQ(answer->status, 400) << each.payload;
        EXPECT_NE(body(answer).value("error", "").find(each.reason), std::string::npos)
            << each.payload << " answered " << answer->body;
    }
    auto after = state();
    EXPECT_EQ(after["steps"], 0);
    EXPECT_EQ(eventsOfType("bulletin.published") + eventsOfType("banner.attached"), 0u);
    auto saved = body(client->Get("/api/scenario", withToken()));
    ASSERT_EQ(saved["steps"].size(), 1u) << saved.dump(); // only the closing wait
    EXPECT_TRUE(saved["steps"][0].contains("wait"));
}

TEST_F(StudioServerTest, APushShowsABannerAndIsKeptInTheSavedScenario)
{
    auto answer = push(R"({"aps": {"alert": {"title": "Alice", "subtitle": "Dinner", "body": "Are you coming?"},
                                   "thread-id": "+15551234567"},
                          "Simulator Target Bundle": "com.apple.MobileSMS", "custom": 1})");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    EXPECT_EQ(body(answer)["id"], "n1");
    ASSERT_TRUE(waitForEvents("banner.attached", 1)) << log.str();
    json attached;
    for (auto& event : body(client->Get("/api/trace", withToken()))) {
        if (event["type"] == "banner.attached")
            attached = event;
    }
    EXPECT_EQ(attached["app"], "com.apple.MobileSMS");
    EXPECT_EQ(attached["header"], "Alice");
    EXPECT_EQ(attached["body"], "Are you coming?");

    // --app wins over the payload's own target.
    auto second = push(
        R"({"aps": {"alert": "Later"}, "Simulator Target Bundle": "com.apple.MobileSMS"})", "net.whatsapp.WhatsApp");
    ASSERT_EQ(second->status, 200) << second->body;
    auto saved = body(client->Get("/api/scenario", withToken()));
    ASSERT_GE(saved["steps"].size(), 3u) << saved.dump();
    auto& first = saved["steps"][0]["notify"];
    EXPECT_EQ(first["app"], "com.apple.MobileSMS");
    EXPECT_EQ(first["thread"], "+15551234567");
    EXPECT_EQ(first["userInfo"]["custom"], 1);
    EXPECT_FALSE(first["userInfo"].contains("Simulator Target Bundle"));
    EXPECT_EQ(saved["steps"][1]["notify"]["app"], "net.whatsapp.WhatsApp");
}

// The page's picture sources: a contact in the address book, a WhatsApp
// profile file and a web avatar, all from the session the tool ships.
TEST_F(StudioServerTest, ThePictureSourcesOfTheShippedSessionReachTheBanners)
{
    const char* notifications[] = {
        R"({"app": "com.apple.MobileSMS", "title": "Alice", "message": "hi",
            "userInfo": {"CKBBContextKeySenderPersonCentricID": "5C1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F"}})",
        R"({"app": "net.whatsapp.WhatsApp", "title": "Bob", "message": "hi", "thread": "123@s.whatsapp.net"})",
        R"({"app": "com.atebits.Tweetie2", "title": "Ann Lee", "message": "followed you", "userInfo": {"D": "annlee"}})",
    };
    size_t shown = 0;
    for (auto* notification : notifications) {
        json step = { { "notify", json::parse(notification) } };
        auto answer = client->Post("/api/step", withToken(), step.dump(), "application/json");
        ASSERT_EQ(answer->status, 200) << answer->body;
        ASSERT_TRUE(waitForEvents("banner.image", ++shown)) << notification;
    }
    for (auto& event : body(client->Get("/api/trace", withToken()))) {
        if (event["type"] == "banner.image") {
            EXPECT_TRUE(event["hasImage"].get<bool>()) << event.dump();
        }
    }
}

TEST_F(StudioServerTest, TheDeviceRestartsWithAnotherSystemOrScreenAndRefusesWhatItCannotBe)
{
    ASSERT_EQ(client->Post("/api/step", withToken(), R"({"style": "dark"})", "application/json")->status, 200);
    for (const char* bad : { R"({"systemVersion": "fourteen"})", R"({"screen": {"width": -5}})", R"({"brix": false})",
             R"({"feedbackSupportLevel": 9})", "{}", "[]" }) {
        auto answer = client->Post("/api/device", withToken(), bad, "application/json");
        ASSERT_TRUE(answer) << bad;
        EXPECT_EQ(answer->status, 400) << bad << " answered " << answer->body;
    }
    auto kept = state();
    EXPECT_EQ(kept["steps"], 1) << "a refused restart started the session anew";
    EXPECT_EQ(kept["style"], "dark");

    auto answer = client->Post("/api/device", withToken(),
        R"({"systemVersion": "13.7", "screen": {"width": 375, "height": 667, "scale": 2, "bottomSafeArea": 0}})",
        "application/json");
    ASSERT_EQ(answer->status, 200) << answer->body;
    auto restarted = state();
    EXPECT_EQ(restarted["systemVersion"], "13.7");
    EXPECT_EQ(restarted["screen"]["width"], 375);
    EXPECT_EQ(restarted["screen"]["height"], 667);
    EXPECT_EQ(restarted["steps"], 0);
    auto saved = body(client->Get("/api/scenario", withToken()));
    EXPECT_EQ(saved["device"]["systemVersion"], "13.7");
    EXPECT_EQ(saved["device"]["screen"]["width"], 375);
    // The restarted device shows banners.
    ASSERT_EQ(push(R"({"aps": {"alert": "Hello"}})", "com.apple.MobileSMS")->status, 200);
    EXPECT_TRUE(waitForEvents("banner.attached", 1));
}

TEST_F(StudioServerTest, StepsThatNameFilesOrRunLaterAreRefused)
{
    for (const char* step : { R"({"snapshot": "/tmp/x.png"})", R"({"notify": {"app": "a", "icon": "/etc/passwd"}})",
             R"({"at": 3, "style": "dark"})", R"({"launch": "com.apple.MobileSMS"})", "[]", "not json" }) {
        auto answer = client->Post("/api/step", withToken(), step, "application/json");
        ASSERT_TRUE(answer) << step;
        EXPECT_EQ(answer->status, 400) << step << " answered " << answer->body;
        EXPECT_TRUE(body(answer).contains("error")) << answer->body;
    }
    EXPECT_EQ(state()["steps"], 0);
    // The page's files come from a fixed list: nothing beside them is served.
    for (const char* path : { "/session.json", "/../session.json", "/page/index.html", "/%2e%2e/session.json" }) {
        auto answer = client->Get(path, withToken());
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 404) << path;
    }
}

TEST_F(StudioServerTest, TheSettingsPagesAreReadAndWorkedThroughTheSettingsApp)
{
    auto pages = body(client->Get("/api/settings", withToken()));
    ASSERT_TRUE(pages.contains("pages")) << pages.dump();
    ASSERT_FALSE(pages["pages"].empty());
    EXPECT_EQ(pages["pages"][0]["title"], "Brix");
    // A switch of some page, flipped.
    std::string page, row, value;
    for (auto& each : pages["pages"])
        for (auto& section : each["sections"])
            for (auto& cell : section["rows"])
                if (row.empty() && cell["kind"] == "switch") {
                    page = each["title"];
                    row = cell["title"];
                    value = cell["value"];
                }
    ASSERT_FALSE(row.empty()) << pages.dump();
    bool wasOn = value == "on" || value == "ON" || value == "1" || value == "YES";
    json change = { { "set", row }, { "value", wasOn ? "off" : "on" }, { "page", page } };
    auto answer = client->Post("/api/settings", withToken(), change.dump(), "application/json");
    ASSERT_EQ(answer->status, 200) << answer->body;
    ASSERT_TRUE(body(answer).contains("preferences")) << answer->body;
    auto saved = body(client->Get("/api/scenario", withToken()));
    ASSERT_GE(saved["steps"].size(), 2u);
    EXPECT_EQ(saved["steps"][0]["preferences"], body(answer)["preferences"]);

    auto unknown
        = client->Post("/api/settings", withToken(), R"({"set": "No such row", "value": "on"})", "application/json");
    EXPECT_EQ(unknown->status, 400);
    auto malformed = client->Post("/api/settings", withToken(), R"({"value": "on"})", "application/json");
    EXPECT_EQ(malformed->status, 400);
}

TEST_F(StudioServerTest, ThePageReceivesAWholeFrameWhenItJoins)
{
    json frame;
    std::string received;
    auto answer = client->Get("/events", withToken(), [&](const char* data, size_t length) {
        received.append(data, length);
        auto start = received.find("event: frame\ndata: ");
        if (start == std::string::npos)
            return true;
        auto end = received.find("\n\n", start);
        if (end == std::string::npos)
            return true;
        auto text = received.substr(start + 19, end - start - 19);
        frame = json::parse(text, nullptr, false);
        return false;
    });
    ASSERT_TRUE(frame.is_object()) << received.substr(0, 200);
    EXPECT_TRUE(frame["whole"].get<bool>());
    auto screen = state()["screen"];
    EXPECT_EQ(frame["width"], screen["width"]); // one pixel a point in this studio
    EXPECT_EQ(frame["height"], screen["height"]);
    EXPECT_GT(frame["jpeg"].get<std::string>().size(), 100u);
}

} // namespace

// The mouse is a finger through the device's input path. Its events are
// paced by the page's own clock, however late they arrive, and the saved
// session keeps the drag as it happened.
TEST_F(StudioServerTest, APointerIsAFingerPacedByThePagesClock)
{
    auto pushed = push(R"({"aps": {"alert": {"title": "Alice", "body": "Are you coming?"}},
                           "Simulator Target Bundle": "com.apple.MobileSMS"})");
    ASSERT_EQ(pushed->status, 200) << pushed->body;
    ASSERT_TRUE(waitForEvents("banner.attached", 1)) << log.str();
    std::this_thread::sleep_for(std::chrono::milliseconds(800)); // the banner slides in

    auto pointer = [&](const char* phase, double y, double t) {
        json event = { { "phase", phase }, { "x", 195 }, { "y", y }, { "t", t } };
        return client->Post("/api/pointer", withToken(), event.dump(), "application/json");
    };
    auto down = pointer("down", 40, 7.0);
    ASSERT_EQ(down->status, 200) << down->body;
    EXPECT_TRUE(body(down)["view"].is_string()) << down->body; // the banner, not the home screen
    // Ten moves 16 ms apart on the page that arrive 60 ms apart.
    for (int move = 1; move <= 10; ++move) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        ASSERT_EQ(pointer("move", 40 + 14 * move, 7.0 + 0.016 * move)->status, 200);
    }
    ASSERT_EQ(pointer("up", 180, 7.176)->status, 200);
    EXPECT_EQ(pointer("move", 200, 7.2)->status, 400); // no finger is down any more

    std::vector<double> touchTimes;
    for (auto& event : body(client->Get("/api/trace", withToken()))) {
        if (event["type"] == "touch")
            touchTimes.push_back(event["t"].get<double>());
    }
    ASSERT_EQ(touchTimes.size(), 2u); // began and ended
    EXPECT_NEAR(touchTimes[1] - touchTimes[0], 0.176, 0.005);
    EXPECT_GE(state()["time"].get<double>(), touchTimes[1]); // the clock goes on from there

    auto saved = body(client->Get("/api/scenario", withToken()));
    json touch;
    for (auto& step : saved["steps"]) {
        if (step.contains("touch"))
            touch = step;
    }
    ASSERT_TRUE(touch.is_object()) << saved.dump();
    EXPECT_EQ(touch["touch"].size(), 12u); // down, the moves, and up 16 ms after the last
    EXPECT_NEAR(touch["interval"].get<double>(), 0.016, 0.001);
    EXPECT_EQ(touch["touch"][11], json::array({ 195, 180 }));
}

TEST_F(StudioServerTest, KeysNeedAFieldWithTheKeyboard)
{
    auto answer = client->Post("/api/step", withToken(), R"({"keys": "Hi\n"})", "application/json");
    ASSERT_EQ(answer->status, 400) << answer->body;
    EXPECT_NE(body(answer)["error"].get<std::string>().find("keyboard"), std::string::npos) << answer->body;
    EXPECT_EQ(state()["steps"], 0);
}
