#include "platform/uikit/Keyboard.h"

#include <gtest/gtest.h>

#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::Keyboard;
using uikit::Point;
using uikit::UITextField;

namespace {

constexpr uint64_t editingChanged = 131072;
constexpr uint64_t editingDidEndOnExit = 524288;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ActionRecorder::defineClass(test.runtime(), {}, { "changed", "send" });
        recorder = ActionRecorder::make(test.runtime());
        window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
        send(window, SEL("makeKeyAndVisible"));
        field = test.makeView("UITextField", uikit::makeRect(10, 100, 370, 36));
        send(window, SEL("addSubview:"), field.get());
        send(field, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("changed"), editingChanged);
    }

    Keyboard& keyboard() { return Keyboard::of(test.process()); }
    std::string text() { return dynamic_cast<UITextField*>(field.get())->text(); }
    void tap(Point point)
    {
        auto& delivery = uikit::TouchDelivery::of(test.process());
        delivery.deliver(1, point, uikit::UITouch::Began);
        delivery.deliver(1, point, uikit::UITouch::Ended);
    }

    UIKitTestProcess test;
    Ref<ActionRecorder> recorder;
    Ref<Object> window;
    Ref<Object> field;
};

} // namespace

TEST_F(KeyboardTest, comesUpWithAFocusedFieldAtTheBottomOfTheScreenAndGoesWithIt)
{
    EXPECT_FALSE(keyboard().isVisible());
    EXPECT_FALSE(keyboard().press("a")) << "no field takes keys";
    ASSERT_TRUE(send<bool>(field, SEL("becomeFirstResponder")));
    ASSERT_TRUE(keyboard().isVisible());
    auto frame = keyboard().frame();
    EXPECT_DOUBLE_EQ(frame.origin.x, 0);
    EXPECT_DOUBLE_EQ(frame.width(), 390);
    EXPECT_DOUBLE_EQ(frame.origin.y + frame.height(), 844);
    EXPECT_DOUBLE_EQ(frame.height(), Keyboard::keysHeight + 34);
    EXPECT_EQ(keyboard().window()->frame().origin.y, frame.origin.y);
    // It never takes the typing from the window of the field.
    EXPECT_TRUE(send<bool>(window, SEL("isKeyWindow")));

    send<bool>(field, SEL("resignFirstResponder"));
    EXPECT_FALSE(keyboard().isVisible());
    EXPECT_FALSE(keyboard().press("a"));
    EXPECT_EQ(text(), "");
}

TEST_F(KeyboardTest, typesAtTheCursorDeletesBackwardsAndReturnSendsTheFieldsAction)
{
    send(field, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("send"), editingDidEndOnExit);
    send<bool>(field, SEL("becomeFirstResponder"));
    EXPECT_TRUE(keyboard().press("Hé!\b\bllo"));
    EXPECT_EQ(text(), "Hllo");
    EXPECT_EQ(recorder->actions, std::vector<std::string>(8, "changed")) << "one edit per key";
    EXPECT_TRUE(keyboard().press("\b\b\b\bHi"));
    EXPECT_EQ(text(), "Hi");

    recorder->actions.clear();
    // Return: the field's action, and the keyboard goes as the field resigns;
    // keys after it go nowhere.
    EXPECT_TRUE(keyboard().press("\nmore"));
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "send" }));
    EXPECT_EQ(text(), "Hi");
    EXPECT_FALSE(keyboard().isVisible());
}

TEST_F(KeyboardTest, itsKeysTakeTouches)
{
    send(field, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("send"), editingDidEndOnExit);
    send<bool>(field, SEL("becomeFirstResponder"));
    auto* keys = keyboard().window();
    ASSERT_NE(keys, nullptr);
    // Find the keys by their place on the screen, as a finger would.
    auto centreOf = [&](const std::string& title) -> Point {
        for (auto& key : keys->subviews()) {
            auto label = key->subviews().empty() ? nullptr : key->subviews().front().get();
            if (label && send<foundation::Value>(label, SEL("text")).string() == title) {
                auto frame = key->frame();
                return { frame.origin.x + frame.width() / 2,
                    keys->frame().origin.y + frame.origin.y + frame.height() / 2 };
            }
        }
        ADD_FAILURE() << "no key " << title;
        return {};
    };
    tap(centreOf("o"));
    tap(centreOf("k"));
    tap(centreOf("space"));
    tap(centreOf("x"));
    tap(centreOf("delete"));
    EXPECT_EQ(text(), "ok ");
    // A touch between the keys types nothing.
    tap({ 2, keys->frame().origin.y + 2 });
    EXPECT_EQ(text(), "ok ");
    tap(centreOf("send"));
    EXPECT_EQ(recorder->actions.back(), "send");
    EXPECT_FALSE(keyboard().isVisible());
}
