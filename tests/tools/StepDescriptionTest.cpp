#include "tools/brix/scenario/StepDescription.h"

#include <gtest/gtest.h>

#include "tools/brix/scenario/ScenarioParser.h"

using tools::scenario::describeStep;
using tools::scenario::isActionStep;
using tools::scenario::ScenarioParser;

namespace {

std::vector<tools::scenario::Step> parsedSteps(const std::string& steps)
{
    auto parsed = ScenarioParser::parseText(R"({"format": 1, "steps": )" + steps + "}", ".");
    if (!parsed)
        throw std::runtime_error(parsed.error().message);
    return parsed.value().steps;
}

} // namespace

TEST(StepDescription, namesEachStepInAFewWords)
{
    auto steps = parsedSteps(R"([
        {"notify": {"id": "alice", "app": "com.apple.MobileSMS", "title": "Alice", "message": "Hi"}},
        {"pan": [10, 40.5, 120], "end": "cancelled"},
        {"press": "snooze"},
        {"type": "On my way"},
        {"style": "dark"},
        {"preferences": {"tinyBanner": true, "timeToDismiss": 4}},
        {"wait": 1.5},
        {"snapshot": "a.png"},
        {"expect": {"type": "banner.removed", "id": "alice", "finished": true}},
        {"expectNot": {"type": "app.opened"}}])");
    std::vector<std::string> expected { "notify alice: Alice — Hi (com.apple.MobileSMS)",
        "drag 10 40.5 120 pt, cancelled", "press snooze", "type “On my way”", "switch to dark mode",
        "settings: tinyBanner = on, timeToDismiss = 4", "wait 1.5 s", "snapshot a.png",
        "expect banner.removed id=alice finished=true", "expect no app.opened" };
    ASSERT_EQ(steps.size(), expected.size());
    for (size_t index = 0; index < steps.size(); ++index)
        EXPECT_EQ(describeStep(steps[index]), expected[index]);
    // Only the first six change anything.
    for (size_t index = 0; index < steps.size(); ++index)
        EXPECT_EQ(isActionStep(steps[index]), index < 6) << expected[index];
}

TEST(StepDescription, shortensLongTextsBetweenCharacters)
{
    // 35 letters, then five "é" of two bytes each: the cut at 40 bytes falls inside the third, so it moves before it.
    std::string message(35, 'a');
    message += "ééééé";
    auto steps = parsedSteps(R"([{"notify": {"id": "n", "message": ")" + message + R"("}}])");
    EXPECT_EQ(describeStep(steps[0]), "notify n: " + std::string(35, 'a') + "éé…");
}
