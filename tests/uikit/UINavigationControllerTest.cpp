#include "platform/uikit/UINavigationController.h"

#include <gtest/gtest.h>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;
using uikit::UINavigationController;
using uikit::UIViewController;

namespace {

// Each page writes what it hears, with the device time, into one shared log.
struct LoggingPage : UIViewController {
    using UIViewController::UIViewController;
    std::string name;
    std::vector<std::string>* log { nullptr };
};

void defineLoggingPage(UIKitTestProcess& process)
{
    auto* device = &process.device();
    auto builder = runtime::ClassBuilder::define<LoggingPage>(process.runtime(), "LoggingPage", "UIViewController");
    for (const char* callback : { "viewWillAppear:", "viewDidAppear:", "viewWillDisappear:", "viewDidDisappear:" }) {
        std::string word(callback);
        builder.method(callback, runtime::Imp::of([device, word](LoggingPage* self, Selector, bool) {
            if (self->log)
                self->log->push_back(
                    self->name + " " + word + " " + std::to_string(static_cast<int>(device->scheduler().now() * 10)));
        }));
    }
}

struct NavigationTest : ::testing::Test {
    NavigationTest() { defineLoggingPage(process); }

    Ref<LoggingPage> page(std::string name)
    {
        auto made = process.make("LoggingPage");
        Ref<LoggingPage> result(dynamic_cast<LoggingPage*>(made.get()));
        result->name = std::move(name);
        result->log = &log;
        send(result, SEL("setTitle:"), Value(result->name));
        return result;
    }
    Ref<UINavigationController> navigation(Object* root)
    {
        auto made = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UINavigationController")),
            SEL("initWithRootViewController:"), root);
        return Ref<UINavigationController>(dynamic_cast<UINavigationController*>(made.get()));
    }
    // A window showing `controller`, as an app's start-up makes one.
    Ref<uikit::UIWindow> show(Object* controller)
    {
        auto window = process.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
        send(window, SEL("setRootViewController:"), controller);
        send(window, SEL("makeKeyAndVisible"));
        send(controller, SEL("viewWillAppear:"), false);
        return Ref<uikit::UIWindow>(dynamic_cast<uikit::UIWindow*>(window.get()));
    }
    void advance(double seconds) { ASSERT_TRUE(process.device().scheduler().advance(seconds, 1000)); }

    UIKitTestProcess process;
    std::vector<std::string> log;
};

} // namespace

TEST_F(NavigationTest, pushingAndPoppingTellBothPagesAsTheTransitionRuns)
{
    auto first = page("first");
    auto nav = navigation(first.get());
    auto window = show(nav.get());
    EXPECT_EQ(log, std::vector<std::string> { "first viewWillAppear: 0" });
    log.clear();

    auto second = page("second");
    send(nav, SEL("pushViewController:animated:"), second.get(), true);
    EXPECT_EQ(nav->topViewController(), second.get());
    EXPECT_EQ(second->navigationController(), nav.get());
    EXPECT_EQ(second->viewIfLoaded()->superview(), nav->viewIfLoaded());
    EXPECT_EQ(first->viewIfLoaded()->superview(), nullptr);
    advance(1);
    EXPECT_EQ(log,
        (std::vector<std::string> { "first viewWillDisappear: 0", "second viewWillAppear: 0",
            "first viewDidDisappear: 3", "second viewDidAppear: 3" }));
    log.clear();

    auto popped = send<Ref<Object>>(nav, SEL("popViewControllerAnimated:"), false);
    EXPECT_EQ(popped.get(), second.get());
    EXPECT_EQ(second->parent(), nullptr);
    EXPECT_EQ(nav->topViewController(), first.get());
    advance(1);
    EXPECT_EQ(log,
        (std::vector<std::string> { "second viewWillDisappear: 10", "first viewWillAppear: 10",
            "second viewDidDisappear: 10", "first viewDidAppear: 10" }));
    EXPECT_EQ(send<Ref<Object>>(nav, SEL("popViewControllerAnimated:"), false), nullptr);
    EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(NavigationTest, theBarShowsTheTopItemAndSitsAboveTheContent)
{
    auto first = page("first");
    auto nav = navigation(first.get());
    auto window = show(nav.get());
    auto* bar = nav->navigationBar();
    EXPECT_EQ(bar->topItem(), first->navigationItem());
    EXPECT_EQ(bar->topItem()->title(), Value("first"));
    EXPECT_FALSE(bar->showsBackButton());
    // Below the status bar's 44 points; the content starts below the bar.
    EXPECT_NEAR(bar->frame().minY(), 44, 1e-9);
    EXPECT_NEAR(bar->frame().height(), uikit::UINavigationBar::height, 1e-9);
    EXPECT_NEAR(first->viewIfLoaded()->frame().minY(), 88, 1e-9);

    // Large titles make the bar taller, unless the item refuses them.
    send(bar, SEL("setPrefersLargeTitles:"), true);
    nav->layout();
    EXPECT_NEAR(bar->frame().height(), 96, 1e-9);
    EXPECT_NEAR(first->viewIfLoaded()->frame().minY(), 140, 1e-9);
    send(first->navigationItem(), SEL("setLargeTitleDisplayMode:"), int64_t(uikit::UINavigationItem::Never));
    nav->layout();
    EXPECT_NEAR(bar->frame().height(), 44, 1e-9);

    auto second = page("second");
    nav->push(second.get(), UIViewController::Transition::Immediate);
    EXPECT_EQ(bar->topItem(), second->navigationItem());
    EXPECT_TRUE(bar->showsBackButton());
}

TEST_F(NavigationTest, anEnclosingBarShowsTheItemsOfANestedStackWithAHiddenBar)
{
    auto first = page("first");
    auto inner = navigation(first.get());
    send(inner, SEL("setNavigationBarHidden:"), true);
    auto outer = navigation(inner.get());
    auto window = show(outer.get());
    auto* bar = outer->navigationBar();
    EXPECT_EQ(bar->topItem(), first->navigationItem());
    EXPECT_FALSE(bar->showsBackButton());
    EXPECT_EQ(inner->navigationBar()->topItem(), nullptr);

    auto second = page("second");
    auto titleView = process.makeView();
    send(second->navigationItem(), SEL("setTitleView:"), titleView.get());
    inner->push(second.get(), UIViewController::Transition::Immediate);
    EXPECT_EQ(second->navigationController(), inner.get());
    EXPECT_EQ(second->navigationController()->navigationController(), outer.get());
    EXPECT_EQ(bar->topItem(), second->navigationItem());
    EXPECT_TRUE(bar->showsBackButton());
    // The title view is the enclosing bar's, centred in it.
    EXPECT_EQ(bar->titleArea(), titleView.get());
    auto* shown = dynamic_cast<uikit::UIView*>(titleView.get());
    EXPECT_EQ(shown->superview(), bar);
    EXPECT_NEAR(shown->frame().minX() + shown->frame().width() / 2, 195, 1e-9);
}

TEST_F(NavigationTest, theRightButtonSendsItsActionToItsTarget)
{
    ActionRecorder::defineClass(process.runtime(), { "pressed:" }, { "bare" });
    auto target = ActionRecorder::make(process.runtime());
    auto first = page("first");
    auto nav = navigation(first.get());
    auto window = show(nav.get());
    auto item = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UIBarButtonItem")),
        SEL("initWithTitle:style:target:action:"), Value("Go"), int64_t(0), target.get(), SEL("pressed:"));
    send(first->navigationItem(), SEL("setRightBarButtonItem:"), item.get());
    nav->layout();
    ASSERT_NE(nav->navigationBar()->rightButtonLabel(), nullptr);
    EXPECT_EQ(nav->navigationBar()->rightButtonLabel()->text(), Value("Go"));
    EXPECT_TRUE(nav->navigationBar()->pressRightButton());
    EXPECT_EQ(target->actions, std::vector<std::string> { "pressed:" });
    EXPECT_EQ(target->senders[0], item.get());
    // The target is not owned: once it is gone, a press does nothing.
    target = nullptr;
    EXPECT_FALSE(nav->navigationBar()->pressRightButton());
}
