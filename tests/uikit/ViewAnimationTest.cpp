#include "platform/uikit/ViewAnimation.h"

#include <gtest/gtest.h>
#include <vector>

#include "platform/device/Device.h"
#include "platform/uikit/UIView.h"

#include "tests/uikit/ConstraintHelpers.h"
#include "tests/uikit/UIKitTestProcess.h"

using constraints::equal;
using constraints::fixed;
using constraints::frameOf;
using constraints::useConstraints;
using runtime::Block;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::makeRect;

namespace {

class ViewAnimationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = test.makeView("UIWindow", makeRect(0, 0, 390, 844));
        view = test.makeView("UIView", makeRect(0, 0, 100, 50));
        send(window, SEL("addSubview:"), view.get());
    }

    // Animates through the class method, recording each completion's flag.
    void animate(double duration, std::function<void()> changes)
    {
        send(test.runtime().classNamed("UIView"), SEL("animateWithDuration:animations:completion:"), duration,
            Block<void()>(std::move(changes)),
            Block<void(bool)>([this](bool finished) { completions.push_back(finished); }));
    }

    double now() { return test.device().scheduler().now(); }
    // Bounded: the animations here never take more than a second.
    void advance(double seconds) { ASSERT_TRUE(test.device().scheduler().advance(seconds, 1000)); }

    UIKitTestProcess test;
    Ref<Object> window;
    Ref<Object> view;
    std::vector<bool> completions;
};

} // namespace

TEST_F(ViewAnimationTest, modelValuesAreFinalAtOnceAndThePresentationMovesBetween)
{
    auto* animated = dynamic_cast<uikit::UIView*>(view.get());
    double start = now();
    animate(0.4, [&] {
        send(view, SEL("setAlpha:"), 0.2);
        send(view, SEL("setFrame:"), makeRect(100, 200, 50, 50));
    });
    EXPECT_NEAR(send<double>(view, SEL("alpha")), 0.2, 1e-12);
    EXPECT_FRAME_NEAR(view, 100, 200, 50, 50);

    EXPECT_NEAR(uikit::presentationAlpha(animated, start), 1, 1e-9);
    EXPECT_NEAR(uikit::presentationFrame(animated, start).origin.x, 0, 1e-9);
    // Halfway, the ease-in-ease-out curve is halfway too; a quarter in, it lags behind.
    EXPECT_NEAR(uikit::presentationAlpha(animated, start + 0.2), 0.6, 1e-6);
    EXPECT_NEAR(uikit::presentationFrame(animated, start + 0.2).origin.y, 100, 1e-6);
    double quarter = uikit::presentationFrame(animated, start + 0.1).origin.x;
    EXPECT_GT(quarter, 0);
    EXPECT_LT(quarter, 25);
    EXPECT_NEAR(uikit::presentationAlpha(animated, start + 0.4), 0.2, 1e-9);
    EXPECT_NEAR(uikit::presentationFrame(animated, start + 5).size.width, 50, 1e-9);

    // A change outside an animation shows at once.
    advance(0.5);
    send(view, SEL("setAlpha:"), 0.7);
    EXPECT_NEAR(uikit::presentationAlpha(animated, now()), 0.7, 1e-12);
}

TEST_F(ViewAnimationTest, constraintConstantsAnimateThroughTheFramesTheLayoutWrites)
{
    auto banner = test.makeView();
    useConstraints(banner);
    send(window, SEL("addSubview:"), banner.get());
    equal(banner, "leadingAnchor", window, "leadingAnchor");
    equal(banner, "trailingAnchor", window, "trailingAnchor");
    fixed(banner, "heightAnchor", 100);
    auto top = equal(banner, "topAnchor", window, "topAnchor", -70);
    send(window, SEL("layoutIfNeeded"));

    double start = now();
    animate(0.15, [&] {
        send(top, SEL("setConstant:"), 40.0);
        send(window, SEL("layoutIfNeeded"));
    });
    EXPECT_NEAR(send<double>(top, SEL("constant")), 40, 1e-12);
    EXPECT_FRAME_NEAR(banner, 0, 40, 390, 100);
    auto* shown = dynamic_cast<uikit::UIView*>(banner.get());
    EXPECT_NEAR(uikit::presentationFrame(shown, start).origin.y, -70, 1e-9);
    EXPECT_NEAR(uikit::presentationFrame(shown, start + 0.075).origin.y, -15, 1e-6);
    advance(0.2);
    EXPECT_EQ(completions, std::vector<bool> { true });
}

TEST_F(ViewAnimationTest, completionRunsOnceWithYesWhenTheDurationHasPassed)
{
    animate(0.3, [&] { send(view, SEL("setAlpha:"), 0.0); });
    EXPECT_TRUE(completions.empty());
    advance(0.29);
    EXPECT_TRUE(completions.empty());
    advance(0.02);
    EXPECT_EQ(completions, std::vector<bool> { true });
    advance(1);
    EXPECT_EQ(completions, std::vector<bool> { true });

    // A block that changes nothing still completes after its duration, and
    // the variant without completion asks for none.
    animate(0.2, [] {});
    send(test.runtime().classNamed("UIView"), SEL("animateWithDuration:animations:"), 0.2,
        Block<void()>([&] { send(view, SEL("setAlpha:"), 1.0); }));
    advance(0.21);
    EXPECT_EQ(completions, (std::vector<bool> { true, true }));
}

TEST_F(ViewAnimationTest, aNewerAnimationOfTheSamePropertyCutsTheOlderShort)
{
    auto* animated = dynamic_cast<uikit::UIView*>(view.get());
    double start = now();
    animate(1.0, [&] { send(view, SEL("setAlpha:"), 0.0); });
    animate(1.0, [&] { send(view, SEL("setFrame:"), makeRect(10, 10, 10, 10)); });
    advance(0.5);
    EXPECT_TRUE(completions.empty()) << "another property of the view leaves the first alone";

    // The replacement starts where the first had got to.
    double shown = uikit::presentationAlpha(animated, now());
    animate(1.0, [&] { send(view, SEL("setAlpha:"), 1.0); });
    EXPECT_NEAR(uikit::presentationAlpha(animated, now()), shown, 1e-9);
    EXPECT_NEAR(shown, 0.5, 1e-6);
    advance(0.01);
    EXPECT_EQ(completions, std::vector<bool> { false });
    advance(0.5);
    EXPECT_EQ(completions, (std::vector<bool> { false, true }));
    advance(0.5);
    EXPECT_EQ(completions, (std::vector<bool> { false, true, true }));
    EXPECT_NEAR(uikit::presentationAlpha(animated, start + 10), 1, 1e-12);
}

TEST_F(ViewAnimationTest, leavingTheWindowCutsAnimationsOfTheWholeSubtreeShort)
{
    auto child = test.makeView("UIView", makeRect(0, 0, 10, 10));
    send(view, SEL("addSubview:"), child.get());
    animate(0.5, [&] { send(child, SEL("setAlpha:"), 0.5); });
    // A view outside any window has no window to leave.
    auto loose = test.makeView();
    animate(0.5, [&] { send(loose, SEL("setAlpha:"), 0.5); });

    send(view, SEL("removeFromSuperview"));
    EXPECT_TRUE(completions.empty()) << "the completion waits for a later turn";
    advance(0.01);
    EXPECT_EQ(completions, std::vector<bool> { false });
    advance(1);
    EXPECT_EQ(completions, (std::vector<bool> { false, true }));
    EXPECT_NEAR(uikit::presentationAlpha(dynamic_cast<uikit::UIView*>(child.get()), now()), 0.5, 1e-12);
}
