#include "platform/uikit/UIButton.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewController.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::UIButton;

namespace {

constexpr uint64_t touchUpInside = 64;
constexpr uint64_t normalState = 0;
constexpr uint64_t disabledState = 2;

class UIButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ActionRecorder::defineClass(test.runtime(), { "pressed:", "other:" }, { "plain" });
        recorder = ActionRecorder::make(test.runtime());
        button = send<Ref<Object>>(test.runtime().classNamed("UIButton"), SEL("buttonWithType:"), int64_t { 0 });
    }

    UIButton* cpp() { return dynamic_cast<UIButton*>(button.get()); }

    UIKitTestProcess test;
    Ref<ActionRecorder> recorder;
    Ref<Object> button;
};

} // namespace

TEST_F(UIButtonTest, sendsTheActionsRegisteredForAnEvent)
{
    send(button, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("pressed:"), touchUpInside);
    send(button, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("plain"), touchUpInside);
    send(button, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("other:"), uint64_t { 1 << 12 });

    send(button, SEL("sendActionsForControlEvents:"), touchUpInside);
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "pressed:", "plain" }));
    EXPECT_EQ(recorder->senders.front(), button.get());

    // Removing one pair leaves the others; targets are not owned.
    send(button, SEL("removeTarget:action:forControlEvents:"), recorder.get(), SEL("plain"), touchUpInside);
    recorder->actions.clear();
    send(button, SEL("sendActionsForControlEvents:"), touchUpInside);
    EXPECT_EQ(recorder->actions, std::vector<std::string> { "pressed:" });
    EXPECT_EQ(recorder->retainCount(), 1u);
    runtime::WeakRef<ActionRecorder> gone(recorder.get());
    recorder = nullptr;
    EXPECT_FALSE(gone);
    send(button, SEL("sendActionsForControlEvents:"), touchUpInside);
}

TEST_F(UIButtonTest, aDisabledOrHiddenButtonTakesNoTaps)
{
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    send(window, SEL("addSubview:"), button.get());
    send(button, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("pressed:"), touchUpInside);

    // A window starts hidden, and nothing in it can be touched until it shows.
    EXPECT_FALSE(cpp()->tap());
    send(window, SEL("makeKeyAndVisible"));
    EXPECT_TRUE(cpp()->tap());
    send(button, SEL("setEnabled:"), false);
    EXPECT_FALSE(send<bool>(button, SEL("isEnabled")));
    EXPECT_EQ(send<uint64_t>(button, SEL("state")), disabledState);
    EXPECT_FALSE(cpp()->tap());
    send(button, SEL("setEnabled:"), true);
    send(window, SEL("setUserInteractionEnabled:"), false);
    EXPECT_FALSE(cpp()->tap());
    send(window, SEL("setUserInteractionEnabled:"), true);
    send(button, SEL("setHidden:"), true);
    EXPECT_FALSE(cpp()->tap());
    EXPECT_EQ(recorder->actions.size(), 1u);
}

TEST_F(UIButtonTest, showsTheTitleAndColourOfItsState)
{
    auto runtime = &test.runtime();
    auto red = uikit::UIColor::make(*runtime, 1, 0, 0, 1);
    auto grey = uikit::UIColor::make(*runtime, 0.5, 0.5, 0.5, 1);
    send(button, SEL("setTitle:forState:"), Value("Open"), normalState);
    send(button, SEL("setTitleColor:forState:"), red.get(), normalState);
    auto label = send<Ref<Object>>(button, SEL("titleLabel"));
    ASSERT_TRUE(label);
    EXPECT_EQ(send<Value>(label, SEL("text")), Value("Open"));
    EXPECT_EQ(send<Ref<Object>>(label, SEL("textColor")).get(), red.get());
    EXPECT_NEAR(send<double>(send<Ref<Object>>(label, SEL("font")), SEL("pointSize")), 15, 1e-12);

    // Disabled without titles of its own, it shows the normal ones; with them, its own.
    send(button, SEL("setEnabled:"), false);
    EXPECT_EQ(send<Value>(label, SEL("text")), Value("Open"));
    send(button, SEL("setTitle:forState:"), Value("Closed"), disabledState);
    send(button, SEL("setTitleColor:forState:"), grey.get(), disabledState);
    EXPECT_EQ(send<Value>(button, SEL("currentTitle")), Value("Closed"));
    EXPECT_EQ(send<Ref<Object>>(label, SEL("textColor")).get(), grey.get());
    send(button, SEL("setEnabled:"), true);
    EXPECT_EQ(send<Value>(label, SEL("text")), Value("Open"));
    EXPECT_EQ(send<Value>(button, SEL("titleForState:"), disabledState), Value("Closed"));

    // The title label fills the button and follows its size.
    send(button, SEL("setFrame:"), uikit::makeRect(0, 0, 120, 36));
    EXPECT_EQ(send<uikit::Rect>(label, SEL("frame")), uikit::makeRect(0, 0, 120, 36));
    EXPECT_EQ(send<int64_t>(label, SEL("textAlignment")), 1);
    // Its intrinsic size is its title's.
    auto* titleLabel = dynamic_cast<uikit::UILabel*>(label.get());
    EXPECT_EQ(cpp()->intrinsicContentSize(0)->width, titleLabel->intrinsicContentSize(0)->width);
    EXPECT_GT(cpp()->intrinsicContentSize(0)->width, 0);
}

TEST_F(UIButtonTest, systemButtonsUseTheTintColour)
{
    auto system = send<Ref<Object>>(test.runtime().classNamed("UIButton"), SEL("buttonWithType:"), int64_t { 1 });
    EXPECT_EQ(send<int64_t>(system, SEL("buttonType")), 1);
    auto* tint = dynamic_cast<uikit::UIColor*>(send<Ref<Object>>(system, SEL("currentTitleColor")).get());
    ASSERT_NE(tint, nullptr);
    EXPECT_NEAR(tint->blue(), 1, 1e-12);
    auto* white = dynamic_cast<uikit::UIColor*>(send<Ref<Object>>(button, SEL("currentTitleColor")).get());
    ASSERT_NE(white, nullptr);
    EXPECT_NEAR(white->red() + white->green() + white->blue(), 3, 1e-12);
}

TEST_F(UIButtonTest, aNilTargetSendsAlongTheResponderChain)
{
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto container = test.makeView();
    send(window, SEL("addSubview:"), container.get());
    send(container, SEL("addSubview:"), button.get());
    // The controller of the container answers the action.
    auto& controllerClass = test.runtime().defineClass<uikit::UIViewController>("PressController", "UIViewController");
    std::vector<Object*> received;
    test.runtime().define(controllerClass, SEL("pressed:"),
        runtime::Imp::of([&received](Object*, runtime::Selector, Object* sender) { received.push_back(sender); }));
    auto controller = test.make("PressController");
    send(controller, SEL("setView:"), container.get());

    send(button, SEL("addTarget:action:forControlEvents:"), static_cast<Object*>(nullptr), SEL("pressed:"),
        touchUpInside);
    send(button, SEL("sendActionsForControlEvents:"), touchUpInside);
    EXPECT_EQ(received, std::vector<Object*> { button.get() });
}
