#include "platform/uikit/UIViewController.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UITraitCollection.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Block;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

// Counts how often a selector runs on a class, keeping its behaviour.
std::shared_ptr<int> countCalls(runtime::Runtime& runtime, runtime::Class& cls, const char* selector)
{
    auto count = std::make_shared<int>(0);
    auto previous = std::make_shared<Imp>();
    *previous
        = runtime.hookMessage(cls, Selector::named(selector), Imp::of([count, previous](Object* self, Selector sel) {
              ++*count;
              (*previous)(self, sel);
          }));
    return count;
}

} // namespace

TEST(UIViewController, loadsItsViewOnFirstUseAndSendsViewDidLoadOnce)
{
    UIKitTestProcess test;
    auto loads = countCalls(test.runtime(), test.cls("UIViewController"), "loadView");
    auto didLoads = countCalls(test.runtime(), test.cls("UIViewController"), "viewDidLoad");
    auto controller = test.make("UIViewController");

    EXPECT_FALSE(send<bool>(controller, SEL("isViewLoaded")));
    EXPECT_EQ(send<Ref<Object>>(controller, SEL("viewIfLoaded")).get(), nullptr);
    EXPECT_EQ(*loads, 0);

    auto view = send<Ref<Object>>(controller, SEL("view"));
    ASSERT_TRUE(view);
    EXPECT_TRUE(runtime::isKindOf(view.get(), "UIView"));
    EXPECT_EQ(send<Ref<Object>>(controller, SEL("view")).get(), view.get());
    EXPECT_TRUE(send<bool>(controller, SEL("isViewLoaded")));
    EXPECT_EQ(*loads, 1);
    EXPECT_EQ(*didLoads, 1);
    // The default view fills the screen.
    EXPECT_NEAR(send<uikit::Rect>(view, SEL("frame")).width(), test.device().hardware().screenWidth, 1e-9);
}

TEST(UIViewController, aLoadViewThatMakesNoViewStillLeavesOne)
{
    UIKitTestProcess test;
    test.runtime().hookMessage(test.cls("UIViewController"), SEL("loadView"), Imp::of([](Object*, Selector) {}));
    auto controller = test.make("UIViewController");
    EXPECT_TRUE(send<Ref<Object>>(controller, SEL("view")));
}

TEST(UIViewController, theResponderChainRunsFromAViewThroughItsControllerToTheApplication)
{
    UIKitTestProcess test;
    auto application = test.make("UIApplication");
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto controller = test.make("UIViewController");
    auto controllerView = send<Ref<Object>>(controller, SEL("view"));
    auto inner = test.makeView();
    send(controllerView, SEL("addSubview:"), inner.get());
    send(window, SEL("addSubview:"), controllerView.get());

    std::vector<Object*> chain;
    for (auto responder = Ref<Object>(inner); responder; responder = send<Ref<Object>>(responder, SEL("nextResponder")))
        chain.push_back(responder.get());
    EXPECT_EQ(chain,
        (std::vector<Object*> {
            inner.get(), controllerView.get(), controller.get(), window.get(), application.get() }));
}

TEST(UIViewController, presentationsCompleteWhenTheirTransitionHasRunOnTheDeviceClock)
{
    UIKitTestProcess test;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto presenter = test.make("UIViewController");
    send(window, SEL("setRootViewController:"), presenter.get());
    auto presented = test.make("UIViewController");

    int presentedCount = 0;
    send(presenter, SEL("presentViewController:animated:completion:"), presented.get(), true,
        Block<void()>([&] { ++presentedCount; }));
    EXPECT_EQ(send<Ref<Object>>(presenter, SEL("presentedViewController")).get(), presented.get());
    EXPECT_EQ(send<Ref<Object>>(presented, SEL("presentingViewController")).get(), presenter.get());
    auto presentedView = send<Ref<Object>>(presented, SEL("view"));
    EXPECT_EQ(send<Ref<Object>>(presentedView, SEL("superview")).get(), window.get());

    // A second presentation while one shows is refused and never completes.
    int refusedCount = 0;
    send(presenter, SEL("presentViewController:animated:completion:"), test.make("UIViewController").get(), false,
        Block<void()>([&] { ++refusedCount; }));

    auto& scheduler = test.device().scheduler();
    scheduler.advance(0.29);
    EXPECT_EQ(presentedCount, 0);
    scheduler.advance(0.02);
    EXPECT_EQ(presentedCount, 1);

    int dismissedCount = 0;
    send(presented, SEL("dismissViewControllerAnimated:completion:"), true, Block<void()>([&] { ++dismissedCount; }));
    EXPECT_EQ(send<Ref<Object>>(presenter, SEL("presentedViewController")).get(), nullptr);
    scheduler.advance(0.29);
    EXPECT_EQ(dismissedCount, 0);
    EXPECT_EQ(send<Ref<Object>>(presentedView, SEL("superview")).get(), window.get());
    scheduler.advance(1);
    EXPECT_EQ(dismissedCount, 1);
    EXPECT_EQ(refusedCount, 0);
    EXPECT_EQ(send<Ref<Object>>(presentedView, SEL("superview")).get(), nullptr);
}

TEST(UIViewController, childControllersKnowTheirParent)
{
    UIKitTestProcess test;
    auto parent = test.make("UIViewController");
    auto child = test.make("UIViewController");
    send(parent, SEL("addChildViewController:"), child.get());
    EXPECT_EQ(send<Ref<Object>>(child, SEL("parentViewController")).get(), parent.get());
    EXPECT_EQ(send<Value>(parent, SEL("childViewControllers")).count(), 1u);
    send(child, SEL("removeFromParentViewController"));
    EXPECT_EQ(send<Ref<Object>>(child, SEL("parentViewController")).get(), nullptr);
    EXPECT_EQ(send<Value>(parent, SEL("childViewControllers")).count(), 0u);
}

TEST(UIViewController, followsTheScreenStyleUnlessOverriddenAndHearsWhenItChanges)
{
    UIKitTestProcess test;
    std::vector<std::pair<Object*, int64_t>> changes;
    auto previous = std::make_shared<Imp>();
    *previous = test.runtime().hookMessage(test.cls("UIViewController"), SEL("traitCollectionDidChange:"),
        Imp::of([&changes, previous](Object* self, Selector sel, Object* before) {
            (*previous)(self, sel, before);
            changes.emplace_back(self, send<int64_t>(before, SEL("userInterfaceStyle")));
        }));
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto following = test.make("UIViewController");
    auto overriding = test.make("UIViewController");
    auto offScreen = test.make("UIViewController");
    send<Ref<Object>>(offScreen, SEL("view"));
    send(window, SEL("setRootViewController:"), following.get());
    send(send<Ref<Object>>(following, SEL("view")), SEL("addSubview:"),
        send<Ref<Object>>(overriding, SEL("view")).get());

    auto styleOf = [](const Ref<Object>& controller) {
        return send<int64_t>(send<Ref<Object>>(controller, SEL("traitCollection")), SEL("userInterfaceStyle"));
    };
    EXPECT_EQ(styleOf(following), uikit::UITraitCollection::Light);

    send(overriding, SEL("setOverrideUserInterfaceStyle:"), 2);
    EXPECT_EQ(styleOf(overriding), uikit::UITraitCollection::Dark);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(overriding.get(), int64_t(1)));
    changes.clear();

    // Nothing changed on the hardware: nobody hears anything.
    uikit::screenStyleDidChange(test.process());
    EXPECT_TRUE(changes.empty());

    test.device().hardware().style = device::Hardware::Style::Dark;
    EXPECT_EQ(styleOf(following), uikit::UITraitCollection::Dark);
    uikit::screenStyleDidChange(test.process());
    // Only the controller on screen that follows the screen hears of it, with its previous (light) traits.
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(following.get(), int64_t(1)));
}

TEST(UIViewController, releasesItsViewWhenItGoes)
{
    UIKitTestProcess test;
    runtime::WeakRef<Object> view;
    auto deallocs = std::make_shared<int>(0);
    {
        auto controller = test.make("UIViewController");
        view = send<Ref<Object>>(controller, SEL("view")).get();
        ASSERT_TRUE(view);
        auto previous = std::make_shared<Imp>();
        *previous = test.runtime().hookMessage(
            test.cls("UIViewController"), SEL("dealloc"), Imp::of([deallocs, previous](Object* self, Selector sel) {
                ++*deallocs;
                (*previous)(self, sel);
            }));
    }
    EXPECT_EQ(*deallocs, 1);
    EXPECT_FALSE(view);
}

TEST(UIViewController, aStyleChangeBeforeAnyoneLookedAtTheScreenIsStillAnnounced)
{
    UIKitTestProcess test;
    std::vector<int64_t> previousStyles;
    auto previous = std::make_shared<Imp>();
    *previous = test.runtime().hookMessage(test.cls("UIViewController"), SEL("traitCollectionDidChange:"),
        Imp::of([&previousStyles, previous](Object* self, Selector sel, Object* before) {
            (*previous)(self, sel, before);
            previousStyles.push_back(send<int64_t>(before, SEL("userInterfaceStyle")));
        }));
    test.device().hardware().style = device::Hardware::Style::Dark;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto controller = test.make("UIViewController");
    send(window, SEL("setRootViewController:"), controller.get());

    uikit::screenStyleDidChange(test.process());
    EXPECT_EQ(previousStyles, std::vector<int64_t> { 1 });
}
