#include <cmath>
#include <gtest/gtest.h>

#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

template <typename T> Ref<T> control(UIKitTestProcess& process, const char* className, Ref<ActionRecorder>& target)
{
    auto made = process.makeView(className, uikit::makeRect(0, 0, 200, 40));
    send(made, SEL("addTarget:action:forControlEvents:"), target.get(), SEL("changed:"),
        uint64_t(uikit::UIControl::ValueChanged));
    return Ref<T>(dynamic_cast<T*>(made.get()));
}

struct ControlsTest : ::testing::Test {
    ControlsTest()
    {
        ActionRecorder::defineClass(process.runtime(), { "changed:" });
        target = ActionRecorder::make(process.runtime());
    }
    UIKitTestProcess process;
    Ref<ActionRecorder> target;
};

} // namespace

TEST_F(ControlsTest, aSwitchFlipsOnTheUsersTapAlone)
{
    auto toggle = control<uikit::UISwitch>(process, "UISwitch", target);
    // Whatever frame it is given, a switch has its own size.
    EXPECT_NEAR(toggle->frame().width(), 51, 1e-9);
    EXPECT_NEAR(toggle->frame().height(), 31, 1e-9);
    send(toggle, SEL("setOn:animated:"), true, true);
    EXPECT_TRUE(send<bool>(toggle, SEL("isOn")));
    EXPECT_TRUE(target->actions.empty());
    EXPECT_TRUE(toggle->toggle());
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(target->actions.size(), 1u);
    send(toggle, SEL("setEnabled:"), false);
    EXPECT_FALSE(toggle->toggle());
    send(toggle, SEL("setEnabled:"), true);
    auto parent = process.makeView();
    send(parent, SEL("addSubview:"), toggle.get());
    send(parent, SEL("setHidden:"), true);
    EXPECT_FALSE(toggle->toggle());
    EXPECT_EQ(target->actions.size(), 1u);
    EXPECT_FALSE(toggle->isOn());
}

TEST_F(ControlsTest, aSliderKeepsItsValueInItsRange)
{
    auto slider = control<uikit::UISlider>(process, "UISlider", target);
    send(slider, SEL("setMinimumValue:"), 1.0);
    send(slider, SEL("setMaximumValue:"), 30.0);
    send(slider, SEL("setValue:"), 50.0);
    EXPECT_EQ(slider->value(), 30);
    send(slider, SEL("setValue:animated:"), -4.0, true);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_TRUE(target->actions.empty());
    EXPECT_TRUE(slider->slide(12.5));
    EXPECT_EQ(slider->value(), 12.5);
    EXPECT_FALSE(slider->slide(std::nan("")));
    EXPECT_EQ(target->actions.size(), 1u);
    // A minimum above the maximum raises the maximum, and takes the value along.
    send(slider, SEL("setMinimumValue:"), 40.0);
    EXPECT_EQ(slider->maximumValue(), 40);
    EXPECT_EQ(slider->value(), 40);
}

TEST_F(ControlsTest, aSegmentedControlSelectsOneSegmentOrNone)
{
    auto made = send<Ref<Object>>(runtime::alloc(process.runtime().classNamed("UISegmentedControl")),
        SEL("initWithItems:"), Value(Value::Array { Value("Never"), Value("On open"), Value("After reply") }));
    Ref<uikit::UISegmentedControl> segments(dynamic_cast<uikit::UISegmentedControl*>(made.get()));
    send(segments, SEL("addTarget:action:forControlEvents:"), target.get(), SEL("changed:"),
        uint64_t(uikit::UIControl::ValueChanged));
    EXPECT_EQ(send<uint64_t>(segments, SEL("numberOfSegments")), 3u);
    EXPECT_EQ(send<Value>(segments, SEL("titleForSegmentAtIndex:"), uint64_t(1)), Value("On open"));
    EXPECT_EQ(segments->selectedSegmentIndex(), -1);
    EXPECT_GT(segments->frame().width(), 0);
    send(segments, SEL("setSelectedSegmentIndex:"), int64_t(2));
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    send(segments, SEL("setSelectedSegmentIndex:"), int64_t(7));
    EXPECT_EQ(segments->selectedSegmentIndex(), -1);
    EXPECT_TRUE(target->actions.empty());
    EXPECT_TRUE(segments->selectSegment(0));
    EXPECT_FALSE(segments->selectSegment(3));
    EXPECT_EQ(segments->selectedSegmentIndex(), 0);
    EXPECT_EQ(target->actions.size(), 1u);
}
