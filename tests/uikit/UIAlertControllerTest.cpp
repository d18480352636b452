#include "platform/uikit/UIAlertController.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIWindow.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::UIAlertAction;
using uikit::UIAlertController;

namespace {

struct AlertTest : ::testing::Test {
    AlertTest()
    {
        window = process.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
        page = process.make("UIViewController");
        send(window, SEL("setRootViewController:"), page.get());
        send(window, SEL("makeKeyAndVisible"));
    }

    Ref<Object> action(const char* title, int64_t style, std::vector<std::string>* ran)
    {
        UIAlertAction::Handler handler;
        if (ran)
            handler = [ran, title](Object* action) {
                ran->push_back(std::string(title) + (dynamic_cast<UIAlertAction*>(action) ? "" : " without action"));
            };
        return send<Ref<Object>>(process.runtime().classNamed("UIAlertAction"), SEL("actionWithTitle:style:handler:"),
            Value(title), style, handler);
    }
    Ref<UIAlertController> alert(std::vector<std::string>* ran)
    {
        auto made = send<Ref<Object>>(process.runtime().classNamed("UIAlertController"),
            SEL("alertControllerWithTitle:message:preferredStyle:"), Value("Question"), Value("Sure?"), int64_t(1));
        send(made, SEL("addAction:"), action("Yes", UIAlertAction::Destructive, ran).get());
        send(made, SEL("addAction:"), action("No", UIAlertAction::Cancel, nullptr).get());
        return Ref<UIAlertController>(dynamic_cast<UIAlertController*>(made.get()));
    }
    void advance(double seconds) { ASSERT_TRUE(process.device().scheduler().advance(seconds, 1000)); }

    UIKitTestProcess process;
    Ref<Object> window;
    Ref<Object> page;
};

} // namespace

TEST_F(AlertTest, choosingAnActionDismissesTheAlertThenRunsItsHandler)
{
    std::vector<std::string> ran;
    auto question = alert(&ran);
    EXPECT_EQ(question->title(), Value("Question"));
    EXPECT_EQ(question->message(), Value("Sure?"));
    EXPECT_EQ(question->actionTitled("No"), std::optional<size_t>(1));
    EXPECT_FALSE(question->actionTitled("Maybe"));
    // Not on screen, it cannot be answered.
    EXPECT_FALSE(question->chooseAction(0));

    send(page, SEL("presentViewController:animated:completion:"), question.get(), true, runtime::Block<void()> {});
    auto* view = question->viewIfLoaded();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->superview(), window.get());
    EXPECT_FALSE(question->chooseAction(2));
    ASSERT_TRUE(question->chooseAction(0));
    EXPECT_FALSE(question->chooseAction(1));
    EXPECT_TRUE(ran.empty());
    advance(0.29);
    EXPECT_TRUE(ran.empty());
    advance(0.02);
    EXPECT_EQ(ran, std::vector<std::string> { "Yes" });
    EXPECT_EQ(view->superview(), nullptr);
    EXPECT_EQ(send<Ref<Object>>(page, SEL("presentedViewController")), nullptr);
}

TEST_F(AlertTest, aDisabledActionOrOneWithoutHandlerDoesNothingElse)
{
    std::vector<std::string> ran;
    auto question = alert(&ran);
    send(page, SEL("presentViewController:animated:completion:"), question.get(), false, runtime::Block<void()> {});
    send(question->actions()[0], SEL("setEnabled:"), false);
    EXPECT_FALSE(question->chooseAction(0));
    ASSERT_TRUE(question->chooseAction(1));
    advance(1);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(send<Ref<Object>>(page, SEL("presentedViewController")), nullptr);
}
