#include "platform/uikit/UITextField.h"

#include <gtest/gtest.h>

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::UITextField;

namespace {

constexpr uint64_t editingDidBegin = 65536;
constexpr uint64_t editingChanged = 131072;
constexpr uint64_t editingDidEnd = 262144;
constexpr uint64_t editingDidEndOnExit = 524288;

class UITextFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ActionRecorder::defineClass(test.runtime(), {}, { "began", "changed", "ended", "exited" });
        recorder = ActionRecorder::make(test.runtime());
        window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
        field = makeField();
    }

    Ref<Object> makeField()
    {
        auto made = test.makeView("UITextField", uikit::makeRect(10, 10, 200, 36));
        send(window, SEL("addSubview:"), made.get());
        listen(made);
        return made;
    }

    void listen(const Ref<Object>& target)
    {
        for (auto [action, event] : { std::pair { "began", editingDidBegin }, std::pair { "changed", editingChanged },
                 std::pair { "ended", editingDidEnd }, std::pair { "exited", editingDidEndOnExit } })
            send(target, SEL("addTarget:action:forControlEvents:"), recorder.get(), runtime::Selector::named(action),
                event);
    }

    UITextField* cpp(const Ref<Object>& object) { return dynamic_cast<UITextField*>(object.get()); }
    Object* firstResponder() { return dynamic_cast<uikit::UIWindow*>(window.get())->firstResponder(); }

    UIKitTestProcess test;
    Ref<ActionRecorder> recorder;
    Ref<Object> window;
    Ref<Object> field;
};

} // namespace

TEST_F(UITextFieldTest, becomesAndResignsFirstResponderWithItsEvents)
{
    EXPECT_EQ(send<Value>(field, SEL("text")), Value(""));
    EXPECT_FALSE(send<bool>(field, SEL("isFirstResponder")));
    EXPECT_TRUE(send<bool>(field, SEL("becomeFirstResponder")));
    EXPECT_TRUE(send<bool>(field, SEL("isFirstResponder")));
    EXPECT_EQ(firstResponder(), field.get());
    // Asking again changes nothing.
    EXPECT_TRUE(send<bool>(field, SEL("becomeFirstResponder")));
    EXPECT_TRUE(send<bool>(field, SEL("resignFirstResponder")));
    EXPECT_FALSE(send<bool>(field, SEL("isFirstResponder")));
    EXPECT_EQ(firstResponder(), nullptr);
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "began", "ended" }));

    // Outside a window, or disabled, a field cannot become first responder.
    auto loose = test.makeView("UITextField");
    EXPECT_FALSE(send<bool>(loose, SEL("becomeFirstResponder")));
    send(field, SEL("setEnabled:"), false);
    EXPECT_FALSE(send<bool>(field, SEL("becomeFirstResponder")));
    EXPECT_EQ(recorder->actions.size(), 2u);
}

TEST_F(UITextFieldTest, aWindowHasOneFirstResponder)
{
    auto other = makeField();
    ASSERT_TRUE(send<bool>(field, SEL("becomeFirstResponder")));
    ASSERT_TRUE(send<bool>(other, SEL("becomeFirstResponder")));
    EXPECT_FALSE(send<bool>(field, SEL("isFirstResponder")));
    EXPECT_TRUE(send<bool>(other, SEL("isFirstResponder")));
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "began", "ended", "began" }));

    // A field in another window does not disturb this one.
    auto secondWindow = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto elsewhere = test.makeView("UITextField", uikit::makeRect(0, 0, 100, 30));
    send(secondWindow, SEL("addSubview:"), elsewhere.get());
    EXPECT_TRUE(send<bool>(elsewhere, SEL("becomeFirstResponder")));
    EXPECT_TRUE(send<bool>(other, SEL("isFirstResponder")));

    // Leaving the window resigns.
    recorder->actions.clear();
    send(other, SEL("removeFromSuperview"));
    EXPECT_FALSE(send<bool>(other, SEL("isFirstResponder")));
    EXPECT_EQ(firstResponder(), nullptr);
    EXPECT_EQ(recorder->actions, std::vector<std::string> { "ended" });
}

TEST_F(UITextFieldTest, theReturnKeyEndsEditingOnExit)
{
    // Typing only reaches the first responder.
    EXPECT_FALSE(cpp(field)->insertText("Hi"));
    ASSERT_TRUE(send<bool>(field, SEL("becomeFirstResponder")));
    EXPECT_TRUE(cpp(field)->insertText("Hé"));
    EXPECT_TRUE(cpp(field)->insertText("!"));
    EXPECT_TRUE(cpp(field)->deleteBackward());
    EXPECT_TRUE(cpp(field)->deleteBackward());
    EXPECT_EQ(send<Value>(field, SEL("text")), Value("H"));

    EXPECT_TRUE(cpp(field)->pressReturnKey());
    // With an action for the event, the field resigns after it, as the keyboard goes.
    EXPECT_EQ(recorder->actions,
        (std::vector<std::string> { "began", "changed", "changed", "changed", "changed", "exited", "ended" }));
    EXPECT_FALSE(send<bool>(field, SEL("isFirstResponder")));
    EXPECT_FALSE(cpp(field)->pressReturnKey());

    // Without one, the field stays first responder.
    auto quiet = test.makeView("UITextField", uikit::makeRect(0, 0, 100, 30));
    send(window, SEL("addSubview:"), quiet.get());
    send(quiet, SEL("setReturnKeyType:"), int64_t { 7 });
    EXPECT_EQ(send<int64_t>(quiet, SEL("returnKeyType")), 7);
    ASSERT_TRUE(send<bool>(quiet, SEL("becomeFirstResponder")));
    EXPECT_TRUE(cpp(quiet)->pressReturnKey());
    EXPECT_TRUE(send<bool>(quiet, SEL("isFirstResponder")));
}

TEST_F(UITextFieldTest, showsItsTextOrPlaceholderInItsLabel)
{
    auto* label = cpp(field)->textLabel();
    ASSERT_NE(label, nullptr);
    send(field, SEL("setPlaceholder:"), Value("Reply"));
    EXPECT_EQ(label->text(), Value("Reply"));
    send(field, SEL("setText:"), Value("Hello"));
    EXPECT_EQ(label->text(), Value("Hello"));
    send(field, SEL("setText:"), Value());
    EXPECT_EQ(send<Value>(field, SEL("text")), Value(""));
    EXPECT_EQ(label->text(), Value("Reply"));

    // Centred content fills the field; top content sits at its top and stays there.
    EXPECT_EQ(label->frame(), uikit::makeRect(0, 0, 200, 36));
    send(field, SEL("setContentVerticalAlignment:"), int64_t { 1 });
    EXPECT_NEAR(label->frame().origin.y, 0, 1e-12);
    EXPECT_LT(label->frame().size.height, 36);
    double lineHeight = label->frame().size.height;
    send(field, SEL("setFrame:"), uikit::makeRect(10, 10, 300, 80));
    EXPECT_EQ(label->frame(), uikit::makeRect(0, 0, 300, lineHeight));
}
