#include "platform/uikit/DisplayCycle.h"

#include <gtest/gtest.h>

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
