#include "platform/uikit/UIColor.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIFont.h"

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::UIColor;
using uikit::UIFont;

namespace {

UIColor* asColor(const Ref<Object>& object)
{
    return dynamic_cast<UIColor*>(object.get());
}

} // namespace

TEST(UIColor, keepsItsComponentsAndMakesVariants)
{
    UIKitTestProcess test;
    auto* cls = test.runtime().classNamed("UIColor");
    auto custom = send<Ref<Object>>(cls, SEL("colorWithRed:green:blue:alpha:"), 0.1, 0.2, 0.3, 0.4);
    ASSERT_NE(asColor(custom), nullptr);
    EXPECT_NEAR(asColor(custom)->red(), 0.1, 1e-12);
    EXPECT_NEAR(asColor(custom)->green(), 0.2, 1e-12);
    EXPECT_NEAR(asColor(custom)->blue(), 0.3, 1e-12);
    EXPECT_NEAR(asColor(custom)->alpha(), 0.4, 1e-12);

    auto faded = send<Ref<Object>>(custom, SEL("colorWithAlphaComponent:"), 0.9);
    EXPECT_NEAR(asColor(faded)->alpha(), 0.9, 1e-12);
    EXPECT_NEAR(asColor(faded)->blue(), 0.3, 1e-12);
    EXPECT_NEAR(asColor(custom)->alpha(), 0.4, 1e-12) << "colours are immutable";

    auto grey = send<Ref<Object>>(cls, SEL("colorWithWhite:alpha:"), 0.25, 1.0);
    EXPECT_EQ(asColor(grey)->color(), (graphics::Color { 0.25, 0.25, 0.25, 1 }));
    // Components outside 0...1 are kept; only drawing clamps them.
    auto bright = send<Ref<Object>>(cls, SEL("colorWithRed:green:blue:alpha:"), 1.5, -0.5, 0.0, 1.0);
    EXPECT_NEAR(asColor(bright)->red(), 1.5, 1e-12);
    EXPECT_EQ(asColor(bright)->color().clamped(), (graphics::Color { 1, 0, 0, 1 }));
}

TEST(UIColor, namesTheCommonColours)
{
    UIKitTestProcess test;
    auto* cls = test.runtime().classNamed("UIColor");
    auto named = [&](const char* selector) {
        return asColor(send<Ref<Object>>(cls, runtime::Selector::named(selector)))->color();
    };
    EXPECT_EQ(named("redColor"), (graphics::Color { 1, 0, 0, 1 }));
    EXPECT_EQ(named("clearColor"), (graphics::Color { 0, 0, 0, 0 }));
    EXPECT_EQ(named("whiteColor"), (graphics::Color { 1, 1, 1, 1 }));
    EXPECT_EQ(named("blackColor"), (graphics::Color { 0, 0, 0, 1 }));
    auto red = send<Ref<Object>>(cls, SEL("redColor"));
    EXPECT_NE(red.get(), send<Ref<Object>>(cls, SEL("redColor")).get()) << "each call makes a new colour";
    EXPECT_TRUE(send<bool>(red, SEL("isEqual:"), send<Ref<Object>>(cls, SEL("redColor"))));
    EXPECT_FALSE(send<bool>(red, SEL("isEqual:"), send<Ref<Object>>(cls, SEL("blueColor"))));
}

TEST(UIFont, systemFontsAtASizeKeepTheSizeGivenAndClampWhereTheyDraw)
{
    UIKitTestProcess test;
    auto* cls = test.runtime().classNamed("UIFont");
    auto regular = send<Ref<Object>>(cls, SEL("systemFontOfSize:"), 15.0);
    auto bold = send<Ref<Object>>(cls, SEL("boldSystemFontOfSize:"), 13.0);
    EXPECT_NEAR(send<double>(regular, SEL("pointSize")), 15, 1e-12);
    EXPECT_FALSE(dynamic_cast<UIFont*>(regular.get())->isBold());
    EXPECT_TRUE(dynamic_cast<UIFont*>(bold.get())->isBold());

    auto resized = send<Ref<Object>>(bold, SEL("fontWithSize:"), 22.0);
    EXPECT_NEAR(send<double>(resized, SEL("pointSize")), 22, 1e-12);
    EXPECT_TRUE(dynamic_cast<UIFont*>(resized.get())->isBold()) << "a resized font keeps its weight";
    EXPECT_NEAR(send<double>(bold, SEL("pointSize")), 13, 1e-12);

    auto negative = send<Ref<Object>>(cls, SEL("systemFontOfSize:"), -8.0);
    EXPECT_NEAR(send<double>(negative, SEL("pointSize")), -8, 1e-12);
    EXPECT_EQ(dynamic_cast<UIFont*>(negative.get())->font().size(), 0);
    auto absurd = send<Ref<Object>>(cls, SEL("systemFontOfSize:"), 1e12);
    EXPECT_EQ(dynamic_cast<UIFont*>(absurd.get())->font().size(), graphics::Font::maximumSize);
    EXPECT_FALSE(send<runtime::Value>(regular, SEL("familyName")).string().empty());
}
