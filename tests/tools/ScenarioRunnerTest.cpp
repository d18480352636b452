#include "tools/brix/scenario/ScenarioRunner.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/graphics/Image.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"

using tools::scenario::Json;
using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;

namespace {

// Plays a scenario given as JSON and keeps what it printed and traced.
struct Played {
    explicit Played(Json scenario)
    {
        if (!scenario.contains("format"))
            scenario["format"] = 1;
        auto parsed = ScenarioParser::parseText(scenario.dump(), folder.path());
        if (!parsed)
            throw std::runtime_error(parsed.error().message);
        runner = std::make_unique<ScenarioRunner>(
            parsed.value(), ScenarioRunner::Output { folder.path() / "out", &trace, &errors });
        code = runner->run();
    }

    std::vector<Json> eventsOfType(const std::string& type) const
    {
        std::vector<Json> found;
        for (auto& event : runner->events()) {
            if (event["type"] == type)
                found.push_back(event);
        }
        return found;
    }

    TempDirectory folder;
    std::ostringstream trace;
    std::ostringstream errors;
    std::unique_ptr<ScenarioRunner> runner;
    ScenarioRunner::ExitCode code { ScenarioRunner::Refused };
};

Json steps(std::vector<Json> list)
{
    Json all = Json::array();
    for (auto& step : list)
        all.push_back(std::move(step));
    return { { "steps", all } };
}

Json setPreference(const char* key, Json value)
{
    return { { "preferences", { { key, value } } } };
}

Json expectChanged(const char* key, const char* kind = "expect")
{
    return { { kind, { { "type", "preferences.changed" }, { "keys", { key } } } } };
}

} // namespace

TEST(ScenarioRunner, writesTheTraceToItsFileAndToTheStream)
{
    Played run(steps({ { { "at", 2.5 }, { "lock", true } } }));
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    std::ifstream file(run.folder.path() / "out" / "trace.jsonl");
    std::stringstream written;
    written << file.rdbuf();
    EXPECT_EQ(written.str(), run.trace.str());
    std::istringstream lines(written.str());
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(Json::parse(first),
        Json::parse(R"({"t": 0, "type": "process.launched", "bundleId": "com.apple.springboard"})"));
    // Every line is one event, the same as the run recorded.
    size_t count = 1;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_NO_THROW(Json::parse(line));
    EXPECT_EQ(count, run.runner->events().size());
    auto input = run.eventsOfType("input");
    ASSERT_EQ(input.size(), 1u);
    EXPECT_EQ(input[0]["t"], 2.5);
    EXPECT_EQ(input[0]["step"], 1);
}

TEST(ScenarioRunner, looksForExpectedEventsSinceThePreviousExpectation)
{
    // Consecutive expectations look at the same events; the next step starts a new window.
    Played passing(steps({ setPreference("timeToDismiss", 3), expectChanged("timeToDismiss"),
        expectChanged("tinyBanner", "expectNot"), expectChanged("timeToDismiss"), setPreference("tinyBanner", true),
        expectChanged("timeToDismiss", "expectNot"), expectChanged("tinyBanner") }));
    EXPECT_EQ(passing.code, ScenarioRunner::Passed) << passing.errors.str();
    EXPECT_EQ(passing.errors.str(), "");

    Played failing(steps({ setPreference("timeToDismiss", 3), expectChanged("timeToDismiss"), { { "lock", true } },
        expectChanged("timeToDismiss") }));
    EXPECT_EQ(failing.code, ScenarioRunner::Failed);
    auto message = failing.errors.str();
    EXPECT_NE(message.find("step 4 (expect)"), std::string::npos) << message;
    // The near miss from before the window is shown.
    EXPECT_NE(message.find("\"keys\":[\"timeToDismiss\"]"), std::string::npos) << message;
}

TEST(ScenarioRunner, reportsEveryFailedExpectationAndRunsOn)
{
    Played run(steps({ setPreference("timeToDismiss", 3), expectChanged("timeToDismiss", "expectNot"),
        { { "expect", { { "type", "banner.attached" } } } }, { { "at", 1 }, { "lock", true } } }));
    EXPECT_EQ(run.code, ScenarioRunner::Failed);
    auto message = run.errors.str();
    EXPECT_NE(message.find("step 2 (expectNot): an event matching"), std::string::npos) << message;
    EXPECT_NE(message.find("step 3 (expect): no event matching"), std::string::npos) << message;
    // The step after the failures still ran.
    EXPECT_EQ(run.eventsOfType("input").size(), 1u);
}

TEST(ScenarioRunner, tracesInputThatHasNoTargetAsUndelivered)
{
    Played run(
        steps({ { { "tap", "banner" } }, { { "pan", { -5, -30 } } }, { { "press", "close" } }, { { "type", "hello" } },
            { { "key", "send" } }, { { "tapBackdrop", true } }, { { "tap", "banner" }, { "on", "nobody" } } }));
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    auto input = run.eventsOfType("input");
    ASSERT_EQ(input.size(), 7u);
    const char* kinds[] = { "tap", "pan", "press", "type", "key", "tapBackdrop", "tap" };
    for (size_t index = 0; index < input.size(); ++index) {
        EXPECT_EQ(input[index]["step"], index + 1);
        EXPECT_EQ(input[index]["input"], kinds[index]);
        EXPECT_EQ(input[index]["delivered"], false);
    }
}

TEST(ScenarioRunner, inspectsAControllerThatDoesNotExistAsNull)
{
    Played run(steps({ { { "inspect", "n7" } } }));
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    auto inspect = run.eventsOfType("inspect");
    ASSERT_EQ(inspect.size(), 1u);
    EXPECT_EQ(inspect[0]["id"], "n7");
    EXPECT_TRUE(inspect[0]["controller"].is_null());
    EXPECT_TRUE(inspect[0]["banner"].is_null());
}

TEST(ScenarioRunner, showsTheSystemsOwnBannerWithoutBrix)
{
    Json scenario = steps({ { { "notify", { { "id", "hello" }, { "app", "com.example.chat" }, { "title", "Hi" } } } },
        { { "inspect", "hello" } }, { { "at", 1 }, { "tap", "banner" } }, { { "wait", 1 } } });
    scenario["device"] = { { "brix", false } };
    Played run(scenario);
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    EXPECT_TRUE(run.eventsOfType("banner.attached").empty());
    auto inspect = run.eventsOfType("inspect");
    ASSERT_EQ(inspect.size(), 1u);
    // The controller lives, but knows nothing of Brix.
    EXPECT_TRUE(inspect[0]["controller"].is_object());
    EXPECT_TRUE(inspect[0]["controller"]["brixIdentifier"].is_null());
    EXPECT_TRUE(inspect[0]["holdFlag"].is_null());
    auto opened = run.eventsOfType("app.opened");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["id"], "hello");
    EXPECT_EQ(opened[0]["bundleId"], "com.example.chat");
    EXPECT_EQ(opened[0]["t"], 1);
    auto dismissed = run.eventsOfType("system.dismissed");
    ASSERT_EQ(dismissed.size(), 1u);
    EXPECT_EQ(dismissed[0]["id"], "hello");
    EXPECT_EQ(dismissed[0]["transition"], 2);
}

TEST(ScenarioRunner, startsAndEndsApps)
{
    Played run(steps({ { { "launch", "com.apple.MobileSMS" } }, { { "at", 1 }, { "quit", "com.apple.MobileSMS" } } }));
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    auto launched = run.eventsOfType("process.launched");
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1]["bundleId"], "com.apple.MobileSMS");
    auto exited = run.eventsOfType("process.exited");
    ASSERT_EQ(exited.size(), 1u);
    EXPECT_EQ(exited[0]["t"], 1);
}

TEST(ScenarioRunner, refusesToRunWhenItCannotWriteItsOutput)
{
    TempDirectory folder;
    std::ofstream(folder.path() / "taken") << "a file, not a folder";
    auto parsed = ScenarioParser::parseText(R"({"format": 1})", folder.path());
    ASSERT_TRUE(parsed);
    std::ostringstream trace, errors;
    ScenarioRunner runner(parsed.value(), { folder.path() / "taken", &trace, &errors });
    EXPECT_EQ(runner.run(), ScenarioRunner::Refused);
    EXPECT_NE(errors.str().find("cannot write"), std::string::npos);
    EXPECT_EQ(trace.str(), "");
}

TEST(ScenarioRunner, writesSnapshotsOfTheScreen)
{
    Json scenario = steps({ { { "snapshot", "screen.png" } } });
    scenario["device"] = { { "screen", { { "width", 100 }, { "height", 200 }, { "scale", 2 } } } };
    Played run(scenario);
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    auto image = graphics::Image::load(run.folder.path() / "out" / "screen.png");
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image.value().width(), 200);
    EXPECT_EQ(image.value().height(), 400);
    // The wallpaper is opaque everywhere.
    EXPECT_EQ(image.value().pixel(100, 399).alpha, 255);
}

namespace {

// The bands of rows of a snapshot, between `fromX` and `toX` points, that
// hold dark ink (text on a light banner).
int inkBands(const graphics::Image& image, double scale, double fromX, double toX)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = static_cast<int>(fromX * scale); x < static_cast<int>(toX * scale) && !ink; ++x) {
            auto pixel = image.pixel(x, y);
            ink = pixel.red + pixel.green + pixel.blue < 3 * 80;
        }
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    return bands;
}

} // namespace

TEST(ScenarioRunner, snapshotsShowTheLayoutOfTheTextAsItIsNow)
{
    // The banner's text column (left of the time, right of the clock) shows
    // the header and, after a continuous update, both lines of the body.
    Json scenario = steps({ { { "notify",
                                { { "app", "com.apple.MobileSMS" }, { "title", "Alice" }, { "message", "First" },
                                    { "options", { { "dismissAutomatically", false } } } } } },
        { { "snapshot", "before.png" } },
        { { "at", 1 },
            { "present",
                { { "id", "more" }, { "app", "com.apple.MobileSMS" }, { "title", "Alice" }, { "message", "Second" } } },
            { "over", "n1" } },
        { { "after", 0.5 }, { "snapshot", "after.png" } } });
    Played run(scenario);
    ASSERT_EQ(run.code, ScenarioRunner::Passed) << run.errors.str();
    auto before = graphics::Image::load(run.folder.path() / "out" / "before.png");
    auto after = graphics::Image::load(run.folder.path() / "out" / "after.png");
    ASSERT_TRUE(before) << before.error().message;
    ASSERT_TRUE(after) << after.error().message;
    double scale = after.value().width() / 390.0;
    EXPECT_EQ(inkBands(before.value(), scale, 70, 300), 2);
    EXPECT_EQ(inkBands(after.value(), scale, 70, 300), 3);
}
