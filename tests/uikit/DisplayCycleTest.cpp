#include "platform/uikit/DisplayCycle.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIView.h"

#include "tests/uikit/ConstraintHelpers.h"
#include "tests/uikit/UIKitTestProcess.h"

using constraints::equal;
using constraints::fixed;
using constraints::frameOf;
using constraints::useConstraints;
using runtime::Object;
using runtime::Ref;
using runtime::send;

TEST(DisplayCycle, laysOutWindowsOnTheTurnAfterAChange)
{
    UIKitTestProcess test;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto view = test.makeView();
    useConstraints(view);
    send(window, SEL("addSubview:"), view.get());
    equal(view, "leadingAnchor", window, "leadingAnchor", 10);
    auto top = equal(view, "topAnchor", window, "topAnchor", 20);
    fixed(view, "widthAnchor", 30);
    fixed(view, "heightAnchor", 40);
    // A view outside every window waits for its own layoutIfNeeded.
    auto loose = test.makeView();
    auto inner = test.makeView();
    useConstraints(inner);
    send(loose, SEL("addSubview:"), inner.get());
    fixed(inner, "widthAnchor", 5);

    auto& cycle = uikit::DisplayCycle::of(test.process());
    EXPECT_TRUE(cycle.isLayoutPending());
    EXPECT_EQ(frameOf(view), uikit::Rect {});
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    EXPECT_FALSE(cycle.isLayoutPending());
    EXPECT_FRAME_NEAR(view, 10, 20, 30, 40);
    EXPECT_EQ(frameOf(inner), uikit::Rect {});

    send(top, SEL("setConstant:"), 60.0);
    EXPECT_TRUE(cycle.isLayoutPending());
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    EXPECT_FRAME_NEAR(view, 10, 60, 30, 40);
}

TEST(DisplayCycle, aLabelWhoseTextChangesAsksItsWindowForLayout)
{
    UIKitTestProcess test;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto box = test.makeView();
    auto label = test.makeView("UILabel");
    useConstraints(box);
    useConstraints(label);
    send(window, SEL("addSubview:"), box.get());
    send(box, SEL("addSubview:"), label.get());
    send(label, SEL("setNumberOfLines:"), int64_t { 0 });
    send(label, SEL("setText:"), foundation::Value("One"));
    equal(box, "topAnchor", window, "topAnchor", 10);
    equal(box, "leadingAnchor", window, "leadingAnchor");
    fixed(box, "widthAnchor", 200);
    equal(label, "topAnchor", box, "topAnchor");
    equal(label, "leadingAnchor", box, "leadingAnchor");
    equal(label, "widthAnchor", box, "widthAnchor");
    equal(box, "bottomAnchor", label, "bottomAnchor");
    auto& cycle = uikit::DisplayCycle::of(test.process());
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    double oneLine = frameOf(box).height();
    ASSERT_GT(oneLine, 0);
    auto* boxView = dynamic_cast<uikit::UIView*>(box.get());
    auto* windowView = dynamic_cast<uikit::UIView*>(window.get());
    EXPECT_FALSE(windowView->needsLayout());

    // Only the label's content changes: its superviews need layout, and the
    // window is laid out on the next turn.
    send(label, SEL("setText:"), foundation::Value("One\nTwo"));
    EXPECT_TRUE(boxView->needsLayout());
    EXPECT_TRUE(windowView->needsLayout());
    EXPECT_TRUE(cycle.isLayoutPending());
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    EXPECT_FALSE(windowView->needsLayout());
    EXPECT_FALSE(boxView->needsLayout());
    EXPECT_NEAR(frameOf(box).height(), 2 * oneLine, 1);

    // A tree outside every window keeps the mark until it is laid out, and
    // brings it along when it joins a window.
    auto loose = test.makeView();
    auto looseLabel = test.makeView("UILabel");
    send(loose, SEL("addSubview:"), looseLabel.get());
    ASSERT_TRUE(test.device().scheduler().runDue(100));
    send(looseLabel, SEL("setText:"), foundation::Value("Three"));
    EXPECT_TRUE(dynamic_cast<uikit::UIView*>(loose.get())->needsLayout());
    EXPECT_FALSE(cycle.isLayoutPending());
    send(box, SEL("addSubview:"), loose.get());
    EXPECT_TRUE(windowView->needsLayout());
    EXPECT_TRUE(cycle.isLayoutPending());
}
