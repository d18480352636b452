#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIKitState.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

TEST(UIWindow, becomesKeyOnlyWhenItAgrees)
{
    UIKitTestProcess test;
    auto first = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto second = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    EXPECT_TRUE(send<bool>(first, SEL("_canBecomeKeyWindow")));
    EXPECT_TRUE(send<bool>(first, SEL("isHidden")));

    send(first, SEL("makeKeyAndVisible"));
    EXPECT_FALSE(send<bool>(first, SEL("isHidden")));
    EXPECT_TRUE(send<bool>(first, SEL("isKeyWindow")));

    // A window that declines stays visible but leaves the key window as it was.
    test.runtime().hookMessage(
        test.cls("UIWindow"), SEL("_canBecomeKeyWindow"), Imp::of([](Object*, Selector) { return false; }));
    send(second, SEL("makeKeyAndVisible"));
    EXPECT_FALSE(send<bool>(second, SEL("isHidden")));
    EXPECT_TRUE(send<bool>(first, SEL("isKeyWindow")));
    EXPECT_FALSE(send<bool>(second, SEL("isKeyWindow")));

    auto application = test.make("UIApplication");
    EXPECT_EQ(send<Ref<Object>>(application, SEL("keyWindow")).get(), first.get());
    EXPECT_EQ(send<Value>(application, SEL("windows")).count(), 2u);
}

TEST(UIWindow, theRootControllersViewFillsTheWindow)
{
    UIKitTestProcess test;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto controller = test.make("UIViewController");
    send(window, SEL("setRootViewController:"), controller.get());
    auto view = send<Ref<Object>>(controller, SEL("view"));
    EXPECT_EQ(send<Ref<Object>>(view, SEL("superview")).get(), window.get());
    EXPECT_NEAR(send<uikit::Rect>(view, SEL("frame")).height(), 844, 1e-9);

    auto replacement = test.make("UIViewController");
    send(window, SEL("setRootViewController:"), replacement.get());
    EXPECT_EQ(send<Ref<Object>>(view, SEL("superview")).get(), nullptr);
    EXPECT_EQ(send<Ref<Object>>(window, SEL("rootViewController")).get(), replacement.get());
}

TEST(UIKitSingletons, screenDeviceAndApplicationComeFromTheProcessAndItsHardware)
{
    device::Hardware hardware;
    hardware.systemVersion = "13.3";
    hardware.screenWidth = 414;
    hardware.screenHeight = 896;
    hardware.screenScale = 2;
    hardware.style = device::Hardware::Style::Dark;
    UIKitTestProcess test(hardware);

    auto* screenClass = test.runtime().classNamed("UIScreen");
    auto screen = send<Ref<Object>>(screenClass, SEL("mainScreen"));
    EXPECT_EQ(send<Ref<Object>>(screenClass, SEL("mainScreen")).get(), screen.get());
    auto bounds = send<uikit::Rect>(screen, SEL("bounds"));
    EXPECT_NEAR(bounds.width(), 414, 1e-9);
    EXPECT_NEAR(bounds.height(), 896, 1e-9);
    EXPECT_NEAR(send<double>(screen, SEL("scale")), 2, 1e-9);
    EXPECT_EQ(send<int64_t>(send<Ref<Object>>(screen, SEL("traitCollection")), SEL("userInterfaceStyle")), 2);

    auto deviceObject = send<Ref<Object>>(test.runtime().classNamed("UIDevice"), SEL("currentDevice"));
    EXPECT_EQ(send<Value>(deviceObject, SEL("systemVersion")).string(), "13.3");
    EXPECT_EQ(send<int64_t>(deviceObject, SEL("_feedbackSupportLevel")), 2);

    // The first application object made is the shared one; there is none before.
    auto* applicationClass = test.runtime().classNamed("UIApplication");
    EXPECT_EQ(send<Ref<Object>>(applicationClass, SEL("sharedApplication")).get(), nullptr);
    auto first = test.make("UIApplication");
    auto second = test.make("UIApplication");
    EXPECT_EQ(send<Ref<Object>>(applicationClass, SEL("sharedApplication")).get(), first.get());
}

TEST(UIKitSingletons, definingTheClassesTwiceChangesNothing)
{
    UIKitTestProcess test;
    auto* viewClass = test.runtime().classNamed("UIView");
    uikit::defineClasses(test.process());
    EXPECT_EQ(test.runtime().classNamed("UIView"), viewClass);
}
