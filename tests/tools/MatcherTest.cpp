#include "tools/brix/scenario/Matcher.h"

#include <gtest/gtest.h>

using tools::scenario::Json;
using tools::scenario::Matcher;

namespace {

const Json attached = Json::parse(R"({"t": 0, "type": "banner.attached", "id": "n1", "header": "Alice",
    "subheader": null, "tiny": false, "colorMode": 2, "frame": [0, -70.0000004, 390, 96],
    "controller": {"hasDismissed": false, "dismissCalled": true}})");

bool matches(const char* pattern)
{
    return Matcher(Json::parse(pattern)).matches(attached);
}

} // namespace

TEST(Matcher, comparesScalarsByEqualityAndNumbersByValue)
{
    EXPECT_TRUE(matches(R"({"type": "banner.attached"})"));
    EXPECT_FALSE(matches(R"({"type": "banner.removed"})"));
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "id": "n1", "header": "Alice", "tiny": false})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "header": "alice"})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "tiny": 0})"));
    // 2 matches 2.0, and values a rounding error apart match.
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "colorMode": 2.0, "t": 0.0000001})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "colorMode": 2.01})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "colorMode": "2"})"));
}

TEST(Matcher, treatsNullAsAValueAndMissingFieldsAsMismatches)
{
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "subheader": null})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "header": null})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "body": null})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "brixIdentifier": "abcdefgh"})"));
}

TEST(Matcher, matchesObjectsAsSubsetsAndArraysElementByElement)
{
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "controller": {}})"));
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "controller": {"dismissCalled": true}})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "controller": {"dismissCalled": false}})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "controller": {"isDismissing": false}})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "header": {}})"));
    EXPECT_TRUE(matches(R"({"type": "banner.attached", "frame": [0, -70, 390, 96]})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "frame": [0, -70, 390]})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "frame": [0, -70, 390, 96, 1]})"));
    EXPECT_FALSE(matches(R"({"type": "banner.attached", "frame": [-70, 0, 390, 96]})"));
    // Objects inside arrays are subsets too.
    Json event = Json::parse(R"({"type": "inspect", "buttons": [{"name": "close", "hidden": true}]})");
    EXPECT_TRUE(Matcher(Json::parse(R"({"type": "inspect", "buttons": [{"name": "close"}]})")).matches(event));
    EXPECT_FALSE(Matcher(Json::parse(R"({"type": "inspect", "buttons": [{"name": "clear"}]})")).matches(event));
}

TEST(Matcher, ranksTheClosestEventsByTypeThenByMatchingFields)
{
    std::vector<Json> events = {
        Json::parse(R"({"type": "banner.removed", "id": "n2"})"),
        Json::parse(R"({"type": "system.dismissed", "id": "n1", "transition": 1})"),
        Json::parse(R"({"type": "system.dismissed", "id": "n2", "transition": 0})"),
        Json::parse(R"({"type": "process.launched", "bundleId": "com.apple.springboard"})"),
    };
    std::vector<const Json*> pointers;
    for (auto& event : events)
        pointers.push_back(&event);
    Matcher matcher(Json::parse(R"({"type": "system.dismissed", "id": "n2", "transition": 1})"));
    auto closest = matcher.closest(pointers, 2);
    ASSERT_EQ(closest.size(), 2u);
    // Both dismissals match the type and one more field; the earlier comes first.
    EXPECT_EQ(closest[0], &events[1]);
    EXPECT_EQ(closest[1], &events[2]);
    auto all = matcher.closest(pointers, 10);
    // The launch shares nothing with the pattern and is not shown.
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2], &events[0]);
}
