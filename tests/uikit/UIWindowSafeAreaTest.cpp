#include <gtest/gtest.h>

#include "platform/uikit/UIWindow.h"

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::EdgeInsets;
using uikit::makeRect;

namespace {

void expectInsets(const EdgeInsets& insets, double top, double bottom)
{
    EXPECT_NEAR(insets.top, top, 1e-9);
    EXPECT_NEAR(insets.left, 0, 1e-9);
    EXPECT_NEAR(insets.bottom, bottom, 1e-9);
    EXPECT_NEAR(insets.right, 0, 1e-9);
}

} // namespace

TEST(UIWindowSafeArea, comesFromTheDeviceAndThePlaceOnTheScreen)
{
    UIKitTestProcess test;
    auto window = test.makeView("UIWindow", makeRect(0, 0, 390, 844));
    send(window, SEL("makeKeyAndVisible"));
    expectInsets(send<EdgeInsets>(window, SEL("safeAreaInsets")), 44, 34);

    // A view inside: only the parts of it under the bars count.
    auto header = test.makeView("UIView", makeRect(0, 20, 390, 100));
    auto footer = test.makeView("UIView", makeRect(0, 800, 390, 44));
    auto middle = test.makeView("UIView", makeRect(0, 300, 390, 100));
    for (auto& view : { header, footer, middle })
        send(window, SEL("addSubview:"), view.get());
    expectInsets(send<EdgeInsets>(header, SEL("safeAreaInsets")), 24, 0);
    expectInsets(send<EdgeInsets>(footer, SEL("safeAreaInsets")), 0, 34);
    expectInsets(send<EdgeInsets>(middle, SEL("safeAreaInsets")), 0, 0);
    expectInsets(send<EdgeInsets>(test.makeView(), SEL("safeAreaInsets")), 0, 0);
}

TEST(UIWindowSafeArea, aDeviceWithoutABottomInsetHasAStatusBarOnly)
{
    device::Hardware hardware;
    hardware.bottomSafeArea = 0;
    UIKitTestProcess test(hardware);
    auto window = test.makeView("UIWindow", makeRect(0, 0, 375, 667));
    expectInsets(send<EdgeInsets>(window, SEL("safeAreaInsets")), 20, 0);
}
