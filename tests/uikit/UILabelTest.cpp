#include "platform/uikit/UILabel.h"

#include <gtest/gtest.h>

#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIFont.h"

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::Range;
using uikit::UILabel;

namespace {

const char* longText = "The quick brown fox jumps over the lazy dog while the band plays on and on until the "
                       "evening comes and everybody goes home.";

Ref<Object> makeLabel(UIKitTestProcess& test, double width, const char* text = longText)
{
    auto label = test.makeView("UILabel", uikit::makeRect(0, 0, width, 40));
    send(label, SEL("setText:"), Value(text));
    return label;
}

Ref<Object> systemFont(UIKitTestProcess& test, double size, bool bold = false)
{
    return send<Ref<Object>>(
        test.runtime().classNamed("UIFont"), bold ? SEL("boldSystemFontOfSize:") : SEL("systemFontOfSize:"), size);
}

int64_t measuredLines(const Ref<Object>& label)
{
    return send<int64_t>(label, SEL("_measuredNumberOfLines"));
}

double intrinsicWidth(const Ref<Object>& label)
{
    return dynamic_cast<UILabel*>(label.get())->intrinsicContentSize(0)->width;
}

} // namespace

TEST(UILabel, startsEmptyInTheSystemFontOnOneLine)
{
    UIKitTestProcess test;
    auto label = test.makeView("UILabel");
    EXPECT_TRUE(send<Value>(label, SEL("text")).isNil());
    EXPECT_NEAR(send<double>(send<Ref<Object>>(label, SEL("font")), SEL("pointSize")), 17, 1e-12);
    EXPECT_EQ(send<int64_t>(label, SEL("numberOfLines")), 1);
    EXPECT_EQ(send<int64_t>(label, SEL("textAlignment")), 4);
    EXPECT_EQ(measuredLines(label), 0);
    EXPECT_TRUE(send<Value>(label, SEL("attributedText")).isNil());
    auto size = dynamic_cast<UILabel*>(label.get())->intrinsicContentSize(100);
    ASSERT_TRUE(size.has_value());
    EXPECT_NEAR(size->height, 0, 1e-12);
}

TEST(UILabel, measuresItsLinesAtItsCurrentWidthWithinItsLimit)
{
    UIKitTestProcess test;
    auto label = makeLabel(test, 120);
    EXPECT_EQ(measuredLines(label), 1) << "one line by default";
    send(label, SEL("setNumberOfLines:"), int64_t(0));
    int64_t narrow = measuredLines(label);
    EXPECT_GT(narrow, 3);
    send(label, SEL("setFrame:"), uikit::makeRect(0, 0, 320, 40));
    int64_t wide = measuredLines(label);
    EXPECT_LT(wide, narrow);
    EXPECT_GE(wide, 2);
    send(label, SEL("setNumberOfLines:"), int64_t(2));
    EXPECT_EQ(measuredLines(label), 2);
    // A new text or font is measured again, never answered from before.
    send(label, SEL("setText:"), Value("Short"));
    EXPECT_EQ(measuredLines(label), 1);
    send(label, SEL("setText:"), Value(longText));
    send(label, SEL("setNumberOfLines:"), int64_t(0));
    send(label, SEL("setFont:"), systemFont(test, 40));
    EXPECT_GT(measuredLines(label), wide);
    send(label, SEL("setText:"), Value());
    EXPECT_EQ(measuredLines(label), 0);
}

TEST(UILabel, intrinsicHeightGrowsWithTheLinesAtTheGivenWidth)
{
    UIKitTestProcess test;
    auto label = makeLabel(test, 0);
    send(label, SEL("setNumberOfLines:"), int64_t(0));
    auto* cpp = dynamic_cast<UILabel*>(label.get());
    auto oneLine = cpp->intrinsicContentSize(0);
    auto narrow = cpp->intrinsicContentSize(100);
    auto wide = cpp->intrinsicContentSize(300);
    ASSERT_TRUE(oneLine && narrow && wide);
    EXPECT_GT(narrow->height, wide->height);
    EXPECT_GT(wide->height, oneLine->height);
    EXPECT_LE(narrow->width, 100);
    EXPECT_GT(oneLine->width, 300);
    auto fits = send<uikit::Size>(label, SEL("sizeThatFits:"), uikit::Size { 100, 1000 });
    EXPECT_NEAR(fits.height, narrow->height, 1e-9);
}

TEST(UILabel, attributedTextDrawsItsBoldRunsUntilAFontIsSet)
{
    UIKitTestProcess test;
    auto label = test.makeView("UILabel", uikit::makeRect(0, 0, 300, 30));
    auto text = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("NSMutableAttributedString")),
        SEL("initWithString:"), Value("😀 Alice: Hi there"));
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), systemFont(test, 15), Range { 0, 18 });
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), systemFont(test, 15, true), Range { 0, 10 });
    send(label, SEL("setAttributedText:"), text);
    EXPECT_EQ(send<Value>(label, SEL("text")).string(), "😀 Alice: Hi there");
    double mixed = intrinsicWidth(label);

    // The label keeps its own copy.
    send(text, SEL("addAttribute:value:range:"), Value("NSFont"), systemFont(test, 15, true), Range { 0, 18 });
    EXPECT_NEAR(intrinsicWidth(label), mixed, 1e-9);

    auto plain = test.makeView("UILabel", uikit::makeRect(0, 0, 300, 30));
    send(plain, SEL("setFont:"), systemFont(test, 15));
    send(plain, SEL("setText:"), Value("😀 Alice: Hi there"));
    EXPECT_GT(mixed, intrinsicWidth(plain) + 0.5);

    // A font set afterwards applies to the whole text, as on the platform.
    send(label, SEL("setFont:"), systemFont(test, 15));
    EXPECT_NEAR(intrinsicWidth(label), intrinsicWidth(plain), 1e-9);
    EXPECT_EQ(send<Value>(label, SEL("text")).string(), "😀 Alice: Hi there");
}

TEST(UILabel, textAndAttributedTextReplaceEachOther)
{
    UIKitTestProcess test;
    auto label = makeLabel(test, 200, "Plain");
    auto attributed = send<Ref<Object>>(label, SEL("attributedText"));
    ASSERT_TRUE(attributed);
    EXPECT_EQ(send<Value>(attributed, SEL("string")).string(), "Plain");
    uikit::Range effective;
    auto font
        = send<Value>(attributed, SEL("attribute:atIndex:effectiveRange:"), Value("NSFont"), uint64_t(0), &effective);
    EXPECT_EQ(font.object(), send<Ref<Object>>(label, SEL("font")).get());
    EXPECT_EQ(effective, (Range { 0, 5 }));

    auto styled = send<Ref<Object>>(
        runtime::alloc(test.runtime().classNamed("NSAttributedString")), SEL("initWithString:"), Value("Styled"));
    send(label, SEL("setAttributedText:"), styled);
    EXPECT_EQ(send<Value>(label, SEL("text")).string(), "Styled");
    send(label, SEL("setText:"), Value("Again"));
    EXPECT_EQ(send<Value>(send<Ref<Object>>(label, SEL("attributedText")), SEL("string")).string(), "Again");
    send(label, SEL("setAttributedText:"), nullptr);
    EXPECT_TRUE(send<Value>(label, SEL("text")).isNil());
}

TEST(UILabel, survivesAbsurdFontsAndLineCounts)
{
    // Values a settings file might hold: the label keeps them and measures sensibly.
    UIKitTestProcess test;
    auto label = makeLabel(test, 200);
    send(label, SEL("setFont:"), systemFont(test, -20));
    send(label, SEL("setNumberOfLines:"), int64_t(-3));
    EXPECT_NEAR(send<double>(send<Ref<Object>>(label, SEL("font")), SEL("pointSize")), -20, 1e-12);
    EXPECT_EQ(send<int64_t>(label, SEL("numberOfLines")), -3);
    EXPECT_GE(measuredLines(label), 1);
    send(label, SEL("setFont:"), systemFont(test, 1e9));
    send(label, SEL("setNumberOfLines:"), int64_t(1) << 40);
    EXPECT_GT(measuredLines(label), 1);
}
