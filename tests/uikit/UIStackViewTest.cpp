#include "platform/uikit/UIStackView.h"

#include <gtest/gtest.h>

#include "tests/uikit/ConstraintHelpers.h"
#include "tests/uikit/UIKitTestProcess.h"

using constraints::equal;
using constraints::fixed;
using constraints::frameOf;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::makeRect;

namespace {

// A view whose content asks for a fixed size.
class ContentView : public uikit::UIView {
public:
    using UIView::UIView;
    std::optional<uikit::Size> intrinsicContentSize(double) const override { return uikit::Size { 40, 20 }; }
};

class UIStackViewTest : public ::testing::Test {
protected:
    void SetUp() override { test.runtime().defineClass<ContentView>("ContentView", "UIView"); }

    Ref<Object> makeStack(std::vector<Ref<Object>> views, uikit::Rect frame)
    {
        Value array = Value::array();
        for (auto& view : views)
            array.append(Value(view));
        auto stack = send<Ref<Object>>(
            runtime::alloc(test.runtime().classNamed("UIStackView")), SEL("initWithArrangedSubviews:"), array);
        send(stack, SEL("setFrame:"), frame);
        return stack;
    }

    UIKitTestProcess test;
};

} // namespace

TEST_F(UIStackViewTest, fillEquallyGivesEveryViewTheSameWidth)
{
    auto button = [&] {
        return send<Ref<Object>>(test.runtime().classNamed("UIButton"), SEL("buttonWithType:"), int64_t { 0 });
    };
    auto a = button();
    auto b = button();
    auto c = button();
    send(a, SEL("setTitle:forState:"), Value("A much longer title"), uint64_t { 0 });
    auto stack = makeStack({ a, b, c }, makeRect(15, 100, 300, 36));
    send(stack, SEL("setDistribution:"), int64_t { 1 });
    send(stack, SEL("setSpacing:"), 15.0);
    EXPECT_EQ(send<Value>(stack, SEL("arrangedSubviews")).count(), 3u);
    EXPECT_EQ(send<Value>(stack, SEL("subviews")).count(), 3u);
    EXPECT_FALSE(send<bool>(a, SEL("translatesAutoresizingMaskIntoConstraints")));

    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(a, 0, 0, 90, 36);
    EXPECT_FRAME_NEAR(b, 105, 0, 90, 36);
    EXPECT_FRAME_NEAR(c, 210, 0, 90, 36);
    EXPECT_FRAME_NEAR(stack, 15, 100, 300, 36);

    // Hidden views take no room; the others share it.
    send(b, SEL("setHidden:"), true);
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(a, 0, 0, 142.5, 36);
    EXPECT_FRAME_NEAR(c, 157.5, 0, 142.5, 36);

    // A view taken out of the subviews leaves the arrangement too.
    send(c, SEL("removeFromSuperview"));
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_EQ(send<Value>(stack, SEL("arrangedSubviews")).count(), 2u);
    EXPECT_FRAME_NEAR(a, 0, 0, 300, 36);
}

TEST_F(UIStackViewTest, fillKeepsIntrinsicSizesAndAlignsAcrossTheAxis)
{
    auto first = test.makeView("ContentView");
    auto second = test.makeView("ContentView");
    auto stretch = test.makeView();
    auto stack = makeStack({ first, second, stretch }, makeRect(0, 0, 200, 50));
    send(stack, SEL("setSpacing:"), 10.0);
    send(stack, SEL("setAlignment:"), int64_t { 3 });
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(first, 0, 15, 40, 20);
    EXPECT_FRAME_NEAR(second, 50, 15, 40, 20);
    // The view without content takes the rest.
    EXPECT_NEAR(frameOf(stretch).origin.x, 100, 1e-6);
    EXPECT_NEAR(frameOf(stretch).size.width, 100, 1e-6);

    // A column aligned to the leading edge.
    send(stack, SEL("setAxis:"), int64_t { 1 });
    send(stack, SEL("setAlignment:"), int64_t { 1 });
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(first, 0, 0, 40, 20);
    EXPECT_FRAME_NEAR(second, 0, 30, 40, 20);
    EXPECT_NEAR(frameOf(stretch).origin.y, 60, 1e-6);
}

TEST_F(UIStackViewTest, aConstrainedStackLaysOutWithItsSuperview)
{
    auto root = test.makeView("UIView", makeRect(0, 0, 390, 844));
    auto a = test.makeView();
    auto b = test.makeView();
    auto stack = makeStack({ a, b }, {});
    send(stack, SEL("setTranslatesAutoresizingMaskIntoConstraints:"), false);
    send(stack, SEL("setDistribution:"), int64_t { 1 });
    send(stack, SEL("setSpacing:"), 15.0);
    send(root, SEL("addSubview:"), stack.get());
    equal(stack, "leadingAnchor", root, "leadingAnchor", 15);
    equal(stack, "trailingAnchor", root, "trailingAnchor", -15);
    equal(stack, "topAnchor", root, "topAnchor", 200);
    fixed(stack, "heightAnchor", 36);
    send(root, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(stack, 15, 200, 360, 36);
    EXPECT_FRAME_NEAR(a, 0, 0, 172.5, 36);
    EXPECT_FRAME_NEAR(b, 187.5, 0, 172.5, 36);
}

// The stack compares what it would arrange with what it arranged at every
// layout: hiding and showing a view, moving one and changing the spacing
// each come through.
TEST_F(UIStackViewTest, everyChangeOfTheArrangementReachesTheNextLayout)
{
    auto a = test.makeView("ContentView");
    auto b = test.makeView("ContentView");
    auto c = test.makeView("ContentView");
    auto stack = makeStack({ a, b, c }, makeRect(0, 0, 300, 20));
    send(stack, SEL("setDistribution:"), int64_t { 1 });
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(b, 100, 0, 100, 20);

    send(a, SEL("setHidden:"), true);
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(b, 0, 0, 150, 20);
    send(a, SEL("setHidden:"), false);
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(b, 100, 0, 100, 20);

    send(stack, SEL("insertArrangedSubview:atIndex:"), c.get(), uint64_t { 0 });
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(c, 0, 0, 100, 20);
    EXPECT_FRAME_NEAR(a, 100, 0, 100, 20);

    send(stack, SEL("setSpacing:"), 6.0);
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(a, 102, 0, 96, 20);
    EXPECT_FRAME_NEAR(b, 204, 0, 96, 20);
    send(stack, SEL("layoutIfNeeded"));
    EXPECT_FRAME_NEAR(b, 204, 0, 96, 20);
}
