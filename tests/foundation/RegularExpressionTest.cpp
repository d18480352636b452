#include "platform/foundation/RegularExpression.h"

#include <gtest/gtest.h>

#include "platform/foundation/Classes.h"
#include "platform/foundation/TextCheckingResult.h"
#include "platform/runtime/Send.h"

#include "tests/foundation/Printing.h"

using foundation::Range;
using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

constexpr uint64_t caseInsensitive = 1;
constexpr const char* tinyBannerPattern = "^[A-z0-9\\s]+([\\s]*:+[\\s]*)";

class RegularExpressionTest : public ::testing::Test {
protected:
    void SetUp() override { foundation::defineClasses(runtime); }

    Ref<Object> compile(const Value& pattern, uint64_t options = 0)
    {
        return send<Ref<Object>>(runtime.classNamed("NSRegularExpression"),
            SEL("regularExpressionWithPattern:options:error:"), pattern, options, static_cast<Object*>(nullptr));
    }

    Ref<Object> firstMatch(const Ref<Object>& expression, const Value& text, Range range)
    {
        return send<Ref<Object>>(expression, SEL("firstMatchInString:options:range:"), text, uint64_t { 0 }, range);
    }

    runtime::Runtime runtime;
};

} // namespace

TEST_F(RegularExpressionTest, theTinyBannerPatternFindsTheColonsAfterTheName)
{
    auto expression = compile(tinyBannerPattern, caseInsensitive);
    ASSERT_TRUE(expression);
    auto match = firstMatch(expression, "Alice:::  ", { 0, 10 });
    ASSERT_TRUE(match);
    EXPECT_EQ(send<uint64_t>(match, SEL("numberOfRanges")), 2u);
    EXPECT_EQ(send<Range>(match, SEL("range")), (Range { 0, 10 }));
    EXPECT_EQ(send<Range>(match, SEL("rangeAtIndex:"), uint64_t { 1 }), (Range { 5, 5 }));
    EXPECT_EQ(send<Range>(match, SEL("rangeAtIndex:"), uint64_t { 7 }), (Range { Range::notFound, 0 }));

    // "Alice: Hi" matches with ": " as the group; a full stop in the name stops the match.
    auto plain = firstMatch(expression, "alice: Hi", { 0, 9 });
    ASSERT_TRUE(plain);
    EXPECT_EQ(send<Range>(plain, SEL("rangeAtIndex:"), uint64_t { 1 }), (Range { 5, 2 }));
    EXPECT_FALSE(firstMatch(expression, "Dr. Alice: Hi", { 0, 13 }));
    EXPECT_FALSE(firstMatch(expression, "Alice", { 0, 5 }));
}

TEST_F(RegularExpressionTest, rangesCountUtf16UnitsAndOptionsChangeTheMatch)
{
    // The emoji takes two UTF-16 units, the é one.
    auto digits = compile("[0-9]+");
    Value text("😀é 42 and 7");
    auto matches = send<Value>(digits, SEL("matchesInString:options:range:"), text, uint64_t { 0 }, Range { 0, 12 });
    ASSERT_EQ(matches.count(), 2u);
    EXPECT_EQ(send<Range>(matches[0].object(), SEL("range")), (Range { 4, 2 }));
    EXPECT_EQ(send<Range>(matches[1].object(), SEL("range")), (Range { 11, 1 }));
    EXPECT_EQ(
        send<uint64_t>(digits, SEL("numberOfMatchesInString:options:range:"), text, uint64_t { 0 }, Range { 0, 6 }),
        1u);
    EXPECT_EQ(send<Range>(digits, SEL("rangeOfFirstMatchInString:options:range:"), Value("none"), uint64_t { 0 },
                  Range { 0, 4 }),
        (Range { Range::notFound, 0 }));

    // Case matters unless asked otherwise; an anchored search starts at the range.
    EXPECT_FALSE(firstMatch(compile("alice"), "ALICE", { 0, 5 }));
    EXPECT_TRUE(firstMatch(compile("alice", caseInsensitive), "ALICE", { 0, 5 }));
    auto anchored = [&](const char* pattern, const char* subject) {
        return send<Ref<Object>>(
            compile(pattern), SEL("firstMatchInString:options:range:"), Value(subject), uint64_t { 4 }, Range { 0, 5 });
    };
    EXPECT_FALSE(anchored("b", "abcde"));
    EXPECT_TRUE(anchored("a", "abcde"));

    // Templates name groups.
    auto names = compile("(\\w+)@(\\w+)");
    EXPECT_EQ(send<Value>(names, SEL("stringByReplacingMatchesInString:options:range:withTemplate:"),
                  Value("mail ann@home and bob@work"), uint64_t { 0 }, Range { 0, 26 }, Value("$2:$1 \\$")),
        Value("mail home:ann $ and work:bob $"));
}

TEST_F(RegularExpressionTest, badPatternsAndRangesAreRefusedClearly)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(compile("([unclosed"));
    EXPECT_FALSE(compile(Value()));
    auto digits = compile("[0-9]");
    EXPECT_FALSE(firstMatch(digits, "12", { 1, 5 }));
    EXPECT_FALSE(firstMatch(digits, Value(), { 0, 0 }));
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("does not compile"), std::string::npos) << reported;
    EXPECT_NE(reported.find("lies outside a string of length 2"), std::string::npos) << reported;
}
