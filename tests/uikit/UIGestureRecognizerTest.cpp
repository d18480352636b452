#include "platform/uikit/UIGestureRecognizer.h"

#include <gtest/gtest.h>
#include <vector>

#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include "tests/uikit/UIKitTestProcess.h"

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

class Target : public runtime::NSObject {
public:
    using NSObject::NSObject;
    std::vector<Object*> received;
    int plainCalls { 0 };
};

void defineTarget(runtime::Runtime& runtime)
{
    auto& cls = runtime.defineClass<Target>("GestureTarget", "NSObject");
    runtime.define(
        cls, SEL("handle:"), Imp::of([](Target* self, Selector, Object* sender) { self->received.push_back(sender); }));
    runtime.define(cls, SEL("handle"), Imp::of([](Target* self, Selector) { ++self->plainCalls; }));
}

Ref<Object> makeRecognizer(UIKitTestProcess& test, const char* className, Object* target, Selector action)
{
    return send<Ref<Object>>(
        runtime::alloc(test.runtime().classNamed(className)), SEL("initWithTarget:action:"), target, action);
}

} // namespace

TEST(UIGestureRecognizer, tellsItsLiveTargetsWithoutKeepingThemAlive)
{
    UIKitTestProcess test;
    defineTarget(test.runtime());
    auto target = test.make("GestureTarget");
    auto tap = makeRecognizer(test, "UITapGestureRecognizer", target.get(), SEL("handle:"));
    send(tap, SEL("addTarget:action:"), target.get(), SEL("handle"));
    EXPECT_EQ(target->retainCount(), 1u);

    auto* recognizer = dynamic_cast<uikit::UITapGestureRecognizer*>(tap.get());
    recognizer->recognizeTap();
    auto* receiver = static_cast<Target*>(target.get());
    EXPECT_EQ(receiver->received, (std::vector<Object*> { tap.get() }));
    EXPECT_EQ(receiver->plainCalls, 1);
    EXPECT_EQ(send<int64_t>(tap, SEL("state")), 0);

    // A disabled recognizer reports nothing; a target that went is skipped.
    send(tap, SEL("setEnabled:"), false);
    recognizer->recognizeTap();
    EXPECT_EQ(receiver->plainCalls, 1);
    send(tap, SEL("setEnabled:"), true);
    target = nullptr;
    recognizer->recognizeTap();
}

TEST(UIGestureRecognizer, aPanReportsEveryStageWithItsTranslation)
{
    UIKitTestProcess test;
    defineTarget(test.runtime());
    auto target = test.make("GestureTarget");
    auto pan = makeRecognizer(test, "UIPanGestureRecognizer", target.get(), SEL("handle:"));
    auto* recognizer = dynamic_cast<uikit::UIPanGestureRecognizer*>(pan.get());
    std::vector<double> seen;
    test.runtime().hookMessage(
        test.cls("GestureTarget"), SEL("handle:"), Imp::of([&seen](Object*, Selector, Object* sender) {
            seen.push_back(send<uikit::Point>(sender, SEL("translationInView:"), static_cast<Object*>(nullptr)).y);
        }));
    using State = uikit::UIGestureRecognizer::State;
    recognizer->setTranslation({ 0, 5 });
    recognizer->setState(State::Began);
    send(pan, SEL("setTranslation:inView:"), uikit::Point { 0, 30 }, static_cast<Object*>(nullptr));
    recognizer->setState(State::Changed);
    recognizer->setState(State::Ended);
    recognizer->setState(State::Failed);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NEAR(seen[0], 5, 1e-9);
    EXPECT_NEAR(seen[2], 30, 1e-9);
}
