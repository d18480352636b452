#include "platform/uikit/NSAttributedString.h"

#include <gtest/gtest.h>

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::Range;

namespace {

Ref<Object> mutableString(UIKitTestProcess& test, const char* text)
{
    return send<Ref<Object>>(
        runtime::alloc(test.runtime().classNamed("NSMutableAttributedString")), SEL("initWithString:"), Value(text));
}

Ref<Object> boldFont(UIKitTestProcess& test)
{
    return send<Ref<Object>>(test.runtime().classNamed("UIFont"), SEL("boldSystemFontOfSize:"), 15.0);
}

} // namespace

TEST(NSAttributedString, countsItsLengthInUtf16Units)
{
    UIKitTestProcess test;
    EXPECT_EQ(send<uint64_t>(mutableString(test, "Bob"), SEL("length")), 3u);
    EXPECT_EQ(send<uint64_t>(mutableString(test, "Hi 😀!"), SEL("length")), 6u);
    EXPECT_EQ(send<uint64_t>(mutableString(test, ""), SEL("length")), 0u);
    EXPECT_EQ(send<Value>(mutableString(test, "Hi 😀!"), SEL("string")).string(), "Hi 😀!");
}

TEST(NSAttributedString, answersTheAttributeAtAnIndexAndItsEffectiveRange)
{
    UIKitTestProcess test;
    auto text = mutableString(test, "Alice: Hi there");
    auto bold = boldFont(test);
    auto regular = send<Ref<Object>>(test.runtime().classNamed("UIFont"), SEL("systemFontOfSize:"), 15.0);
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), regular, Range { 0, 15 });
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), bold, Range { 0, 7 });

    Range effective;
    auto atStart
        = send<Value>(text, SEL("attribute:atIndex:effectiveRange:"), Value("NSFont"), uint64_t(3), &effective);
    EXPECT_EQ(atStart.object(), bold.get()) << "the run added later wins";
    EXPECT_EQ(effective, (Range { 0, 7 }));
    auto later = send<Value>(text, SEL("attribute:atIndex:effectiveRange:"), Value("NSFont"), uint64_t(9), &effective);
    EXPECT_EQ(later.object(), regular.get());
    EXPECT_EQ(effective, (Range { 7, 8 }));
    auto other = send<Value>(text, SEL("attribute:atIndex:effectiveRange:"), Value("NSColor"), uint64_t(9), &effective);
    EXPECT_TRUE(other.isNil());
    EXPECT_EQ(effective, (Range { 0, 15 }));
    auto beyond = send<Value>(
        text, SEL("attribute:atIndex:effectiveRange:"), Value("NSFont"), uint64_t(99), static_cast<Range*>(nullptr));
    EXPECT_TRUE(beyond.isNil());
}

TEST(NSAttributedString, refusesRangesPastTheEndAndLosesNothing)
{
    UIKitTestProcess test;
    auto text = mutableString(test, "Hi 😀");
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), boldFont(test), Range { 3, 2 });
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), boldFont(test), Range { 3, 3 });
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), boldFont(test), Range { UINT64_MAX, 2 });
    auto& runs = dynamic_cast<uikit::NSAttributedString*>(text.get())->attributeRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].range, (Range { 3, 2 }));
}

TEST(NSAttributedString, copiesAreIndependentAndAppendingShiftsRuns)
{
    UIKitTestProcess test;
    auto head = mutableString(test, "😀 Bob:");
    send(head, SEL("addAttribute:value:range:"), Value("NSFont"), boldFont(test), Range { 0, 7 });
    auto frozen = send<Ref<Object>>(head, SEL("copy"));
    EXPECT_FALSE(runtime::respondsToSelector(frozen.get(), SEL("addAttribute:value:range:")));
    auto tail = mutableString(test, " hi");
    send(tail, SEL("addAttribute:value:range:"), Value("NSFont"), boldFont(test), Range { 1, 2 });
    send(head, SEL("appendAttributedString:"), tail);

    EXPECT_EQ(send<Value>(head, SEL("string")).string(), "😀 Bob: hi");
    EXPECT_EQ(send<uint64_t>(head, SEL("length")), 10u);
    Range effective;
    send<Value>(head, SEL("attribute:atIndex:effectiveRange:"), Value("NSFont"), uint64_t(8), &effective);
    EXPECT_EQ(effective, (Range { 8, 2 }));
    EXPECT_EQ(send<uint64_t>(frozen, SEL("length")), 7u);
    auto thawed = send<Ref<Object>>(frozen, SEL("mutableCopy"));
    send(thawed, SEL("addAttribute:value:range:"), Value("NSColor"), boldFont(test), Range { 0, 1 });
    EXPECT_EQ(dynamic_cast<uikit::NSAttributedString*>(frozen.get())->attributeRuns().size(), 1u);
}
