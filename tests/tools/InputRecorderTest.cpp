#include "tools/brix/scenario/InputRecorder.h"

#include <gtest/gtest.h>
#include <sstream>

#include "platform/springboard/HumanInterface.h"

#include "tests/support/TempDirectory.h"
#include "tools/brix/scenario/ScenarioParser.h"
#include "tools/brix/scenario/ScenarioRunner.h"

using springboard::HumanInterface;
using tools::scenario::InputRecorder;
using tools::scenario::Json;
using tools::scenario::ScenarioParser;
using tools::scenario::ScenarioRunner;

namespace {

tools::scenario::Scenario parsed(const Json& json, const TempDirectory& folder)
{
    auto result = ScenarioParser::parseText(json.dump(), folder.path());
    if (!result)
        throw std::runtime_error(result.error().message);
    return result.value();
}

// What happened to the banners, and when (without Brix's random identifiers).
std::vector<std::string> bannerEvents(const std::vector<Json>& events)
{
    std::vector<std::string> found;
    for (Json event : events) {
        event.erase("brixIdentifier");
        if (event.contains("controller") && event["controller"].is_object())
            event["controller"].erase("brixIdentifier");
        auto type = event.value("type", "");
        if (type.starts_with("banner.") || type == "action.executed" || type == "system.dismissed"
            || type == "app.opened" || type == "feedback" || type == "inspect" || type == "touch")
            found.push_back(event.dump());
    }
    return found;
}

} // namespace

TEST(InputRecorder, aSessionOfTouchesAndKeysWrittenAsAScenarioReplaysToTheSameBannerEvents)
{
    TempDirectory folder;
    Json setup = { { "format", 1 }, { "preferences", { { "timeToDismiss", 3 } } } };
    Json others = Json::array();
    others.push_back({ { "at", 0 },
        { "notify",
            { { "app", "net.whatsapp.WhatsApp" }, { "title", "Bob" }, { "message", "Lunch?" },
                { "actions",
                    { { "clear", "clear" }, { "supplementary", { { "default", { "com.whatsapp.reply" } } } } } } } } });
    others.push_back({ { "at", 2.5 }, { "inspect", "n1" } });
    others.push_back({ { "at", 5 }, { "wait", 0 } });
    Json live = setup;
    live["steps"] = others;
    auto scenario = parsed(live, folder);

    std::ostringstream trace, errors;
    ScenarioRunner runner(scenario, ScenarioRunner::Output { folder.path() / "live", &trace, &errors });
    ASSERT_EQ(runner.start(), ScenarioRunner::Passed) << errors.str();
    InputRecorder recorder(*runner.homeScreenProcess());
    auto& human = HumanInterface::of(*runner.homeScreenProcess());
    runner.play(scenario.steps[0]);

    // A drag down the way a mouse moves: uneven steps at uneven times.
    std::vector<std::pair<double, double>> drag { { 1.0, 40 }, { 1.013, 47 }, { 1.041, 58 }, { 1.05, 70 }, { 1.09, 88 },
        { 1.12, 100 } };
    for (size_t index = 0; index < drag.size(); ++index) {
        ASSERT_TRUE(runner.runUntil(drag[index].first));
        human.touch(
            { 195, drag[index].second }, index == 0 ? HumanInterface::Phase::Began : HumanInterface::Phase::Moved);
    }
    ASSERT_TRUE(runner.runUntil(1.2));
    human.touch({ 195, 100 }, HumanInterface::Phase::Ended);
    // The reply field is focused: a word with a typo, mended, and sent with the keyboard's send key.
    ASSERT_TRUE(runner.runUntil(1.6));
    EXPECT_TRUE(human.keys("See you theer\b\bre"));
    ASSERT_TRUE(runner.runUntil(1.9));
    human.touch({ 298, 785 }, HumanInterface::Phase::Began);
    ASSERT_TRUE(runner.runUntil(1.97));
    human.touch({ 298, 785 }, HumanInterface::Phase::Ended);
    // A tap on the home screen, down and up at once.
    ASSERT_TRUE(runner.runUntil(2.2));
    human.touch({ 100, 500 }, HumanInterface::Phase::Began);
    human.touch({ 100, 500 }, HumanInterface::Phase::Ended);
    runner.play(scenario.steps[1]);
    runner.play(scenario.steps[2]);
    auto original = bannerEvents(runner.events());

    auto steps = recorder.steps();
    ASSERT_EQ(steps.size(), 4u) << steps.dump();
    EXPECT_EQ(steps[0]["touch"].size(), drag.size() + 1) << "the finger lifted later than it last moved";
    EXPECT_DOUBLE_EQ(steps[0]["at"].get<double>(), 1);
    EXPECT_NEAR(steps[0]["interval"].get<double>() * drag.size(), 0.2, 1e-9);
    EXPECT_EQ(steps[1], (Json { { "at", 1.6 }, { "keys", "See you theer\b\bre" } }));
    EXPECT_EQ(steps[2]["touch"], (Json { { 298, 785 }, { 298, 785 } }));
    EXPECT_EQ(steps[3], (Json { { "at", 2.2 }, { "tapAt", { 100, 500 } } }));

    Json replay = setup;
    replay["steps"] = recorder.merge(others);
    std::ostringstream replayTrace, replayErrors;
    // The runner refers to its scenario while it runs.
    auto replayScenario = parsed(replay, folder);
    ScenarioRunner replayRunner(
        replayScenario, ScenarioRunner::Output { folder.path() / "replay", &replayTrace, &replayErrors });
    ASSERT_EQ(replayRunner.run(), ScenarioRunner::Passed) << replayErrors.str();
    auto replayed = bannerEvents(replayRunner.events());
    EXPECT_EQ(replayed, original);

    // The session did what it meant to.
    bool sent = false;
    for (auto& line : original)
        sent = sent
            || line.find("\"UIUserNotificationActionResponseTypedTextKey\":\"See you there\"") != std::string::npos;
    EXPECT_TRUE(sent) << ::testing::PrintToString(original);
}

TEST(InputRecorder, aFingerStillDownAndACancelledOneAreWrittenSo)
{
    TempDirectory folder;
    auto scenario = parsed({ { "format", 1 } }, folder);
    std::ostringstream trace, errors;
    ScenarioRunner runner(scenario, ScenarioRunner::Output { folder.path() / "out", &trace, &errors });
    ASSERT_EQ(runner.start(), ScenarioRunner::Passed) << errors.str();
    InputRecorder recorder(*runner.homeScreenProcess());
    auto& human = HumanInterface::of(*runner.homeScreenProcess());
    human.touch({ 10, 300 }, HumanInterface::Phase::Began);
    ASSERT_TRUE(runner.runUntil(0.5));
    human.touch({ 10, 320 }, HumanInterface::Phase::Cancelled);
    human.touch({ 20, 400 }, HumanInterface::Phase::Began);
    // Input for a finger that is not down is dropped, and not recorded.
    EXPECT_FALSE(human.touch({ 1, 1 }, HumanInterface::Phase::Moved, 7));
    auto steps = recorder.steps();
    ASSERT_EQ(steps.size(), 2u) << steps.dump();
    EXPECT_EQ(steps[0],
        (Json { { "at", 0 }, { "touch", { { 10, 300 }, { 10, 320 } } }, { "interval", 0.5 }, { "end", "cancelled" } }));
    EXPECT_EQ(steps[1], (Json { { "at", 0.5 }, { "touch", { { 20, 400 } } }, { "end", nullptr } }));
    // A step that began while the first touch went on waits for its end.
    auto merged = recorder.merge(Json::array({ { { "at", 0.25 }, { "style", "dark" } } }));
    EXPECT_EQ(merged[1], (Json { { "at", 0.5 }, { "style", "dark" } }));
}
