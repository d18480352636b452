#include "platform/uikit/UIView.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

namespace {

std::vector<Object*> objectsOf(const Value& array)
{
    std::vector<Object*> result;
    for (auto& item : array.items())
        result.push_back(item.object());
    return result;
}

// Counts the moves a view class announces, keeping the class's own behaviour.
struct MoveLog {
    std::vector<std::string> entries;

    void install(runtime::Runtime& runtime, runtime::Class& cls)
    {
        auto previousDid = std::make_shared<Imp>();
        *previousDid = runtime.hookMessage(
            cls, SEL("didMoveToSuperview"), Imp::of([this, previousDid](Object* self, Selector sel) {
                (*previousDid)(self, sel);
                auto superview = send<Ref<Object>>(self, SEL("superview"));
                entries.push_back("did:" + std::string(superview ? "in" : "out"));
            }));
        auto previousWill = std::make_shared<Imp>();
        *previousWill = runtime.hookMessage(
            cls, SEL("willMoveToSuperview:"), Imp::of([this, previousWill](Object* self, Selector sel, Object* to) {
                (*previousWill)(self, sel, to);
                entries.push_back("will:" + std::string(to ? "in" : "out"));
            }));
    }
};

} // namespace

TEST(UIView, keepsSubviewsInOrderAndMovesThemBetweenSuperviews)
{
    UIKitTestProcess test;
    auto parent = test.makeView();
    auto other = test.makeView();
    auto a = test.makeView();
    auto b = test.makeView();
    auto c = test.makeView();

    send(parent, SEL("addSubview:"), a.get());
    send(parent, SEL("addSubview:"), b.get());
    send(parent, SEL("insertSubview:atIndex:"), c.get(), 0);
    EXPECT_EQ(objectsOf(send<Value>(parent, SEL("subviews"))), (std::vector<Object*> { c.get(), a.get(), b.get() }));
    EXPECT_EQ(send<Ref<Object>>(a, SEL("superview")).get(), parent.get());

    // Adding a subview again brings it to the front; an index past the end means the end.
    send(parent, SEL("addSubview:"), c.get());
    send(parent, SEL("insertSubview:atIndex:"), a.get(), 99);
    EXPECT_EQ(objectsOf(send<Value>(parent, SEL("subviews"))), (std::vector<Object*> { b.get(), c.get(), a.get() }));

    // A view has one superview: adding it elsewhere takes it out of the first.
    send(other, SEL("addSubview:"), b.get());
    EXPECT_EQ(objectsOf(send<Value>(parent, SEL("subviews"))), (std::vector<Object*> { c.get(), a.get() }));
    EXPECT_EQ(send<Ref<Object>>(b, SEL("superview")).get(), other.get());

    send(a, SEL("removeFromSuperview"));
    EXPECT_EQ(send<Ref<Object>>(a, SEL("superview")).get(), nullptr);
    EXPECT_EQ(objectsOf(send<Value>(parent, SEL("subviews"))), (std::vector<Object*> { c.get() }));
}

TEST(UIView, refusesToBecomeItsOwnDescendant)
{
    UIKitTestProcess test;
    auto top = test.makeView();
    auto middle = test.makeView();
    auto bottom = test.makeView();
    send(top, SEL("addSubview:"), middle.get());
    send(middle, SEL("addSubview:"), bottom.get());

    send(bottom, SEL("addSubview:"), top.get());
    send(middle, SEL("addSubview:"), middle.get());
    EXPECT_EQ(send<Ref<Object>>(top, SEL("superview")).get(), nullptr);
    EXPECT_EQ(send<Value>(middle, SEL("subviews")).count(), 1u);
    EXPECT_TRUE(send<bool>(bottom, SEL("isDescendantOfView:"), top.get()));
    EXPECT_FALSE(send<bool>(top, SEL("isDescendantOfView:"), bottom.get()));
}

TEST(UIView, announcesEveryMoveIntoAndOutOfASuperviewThroughTheRunTime)
{
    UIKitTestProcess test;
    MoveLog log;
    log.install(test.runtime(), test.cls("UIView"));
    auto first = test.makeView();
    auto second = test.makeView();
    auto child = test.makeView();

    send(first, SEL("addSubview:"), child.get());
    send(second, SEL("addSubview:"), child.get()); // a move from one superview to another is one move
    send(second, SEL("addSubview:"), child.get()); // reordering within a superview is none
    send(child, SEL("removeFromSuperview"));
    send(child, SEL("removeFromSuperview")); // nothing to leave
    EXPECT_EQ(
        log.entries, (std::vector<std::string> { "will:in", "did:in", "will:in", "did:in", "will:out", "did:out" }));
}

TEST(UIView, subviewsThatOutliveTheirSuperviewAreToldTheyLeftIt)
{
    UIKitTestProcess test;
    MoveLog log;
    auto child = test.makeView();
    runtime::WeakRef<Object> parentAlive;
    {
        auto parent = test.makeView();
        parentAlive = parent.get();
        send(parent, SEL("addSubview:"), child.get());
        log.install(test.runtime(), test.cls("UIView"));
    }
    EXPECT_FALSE(parentAlive);
    EXPECT_EQ(send<Ref<Object>>(child, SEL("superview")).get(), nullptr);
    EXPECT_EQ(log.entries, (std::vector<std::string> { "will:out", "did:out" }));
}

TEST(UIView, windowIsTheWindowAtTheTopOfTheChain)
{
    UIKitTestProcess test;
    std::vector<std::string> windowMoves;
    auto window = test.makeView("UIWindow", uikit::makeRect(0, 0, 390, 844));
    auto container = test.makeView();
    auto leaf = test.makeView();
    send(container, SEL("addSubview:"), leaf.get());
    EXPECT_EQ(send<Ref<Object>>(leaf, SEL("window")).get(), nullptr);

    auto previous = std::make_shared<Imp>();
    Object* leafObject = leaf.get();
    *previous = test.runtime().hookMessage(test.cls("UIView"), SEL("didMoveToWindow"),
        Imp::of([&windowMoves, leafObject, previous](Object* self, Selector sel) {
            (*previous)(self, sel);
            windowMoves.push_back(self == leafObject ? "leaf" : "container");
        }));
    send(window, SEL("addSubview:"), container.get());
    EXPECT_EQ(send<Ref<Object>>(leaf, SEL("window")).get(), window.get());
    EXPECT_EQ(send<Ref<Object>>(window, SEL("window")).get(), window.get());
    EXPECT_EQ(windowMoves, (std::vector<std::string> { "container", "leaf" }));
}

TEST(UIView, framesBoundsAndAppearance)
{
    UIKitTestProcess test;
    auto view = test.makeView("UIView", uikit::makeRect(10, 20, 300, 80));
    auto frame = send<uikit::Rect>(view, SEL("frame"));
    EXPECT_NEAR(frame.minX(), 10, 1e-9);
    EXPECT_NEAR(frame.minY(), 20, 1e-9);
    auto bounds = send<uikit::Rect>(view, SEL("bounds"));
    EXPECT_NEAR(bounds.minX(), 0, 1e-9);
    EXPECT_NEAR(bounds.width(), 300, 1e-9);
    EXPECT_NEAR(bounds.height(), 80, 1e-9);

    send(view, SEL("setFrame:"), uikit::makeRect(0, -70, 390, 96));
    EXPECT_NEAR(send<uikit::Rect>(view, SEL("bounds")).height(), 96, 1e-9);

    // Alpha stays within 0 and 1; interaction is on until switched off.
    send(view, SEL("setAlpha:"), 1.5);
    EXPECT_NEAR(send<double>(view, SEL("alpha")), 1, 1e-9);
    send(view, SEL("setAlpha:"), -0.5);
    EXPECT_NEAR(send<double>(view, SEL("alpha")), 0, 1e-9);
    EXPECT_TRUE(send<bool>(view, SEL("isUserInteractionEnabled")));
    send(view, SEL("setUserInteractionEnabled:"), false);
    EXPECT_FALSE(send<bool>(view, SEL("userInteractionEnabled")));
    EXPECT_FALSE(send<bool>(view, SEL("isHidden")));
    EXPECT_EQ(runtime::Encoding<uikit::Rect>::value, std::string("{CGRect={CGPoint=dd}{CGSize=dd}}"));
}

TEST(UIView, keepsItsGestureRecognizersInTheInstanceVariableFoundByName)
{
    UIKitTestProcess test;
    auto view = test.makeView();
    auto other = test.makeView();
    auto tap = test.make("UITapGestureRecognizer");
    auto pan = test.make("UIPanGestureRecognizer");

    auto* ivar = runtime::ivarPointer<Value>(view.get(), "_gestureRecognizers");
    ASSERT_NE(ivar, nullptr);
    EXPECT_TRUE(ivar->isNil());
    EXPECT_EQ(runtime::ivarPointer<int64_t>(view.get(), "_gestureRecognizers"), nullptr);

    send(view, SEL("addGestureRecognizer:"), tap.get());
    send(view, SEL("addGestureRecognizer:"), pan.get());
    send(view, SEL("addGestureRecognizer:"), tap.get()); // once is enough
    EXPECT_EQ(objectsOf(*ivar), (std::vector<Object*> { tap.get(), pan.get() }));
    EXPECT_EQ(objectsOf(send<Value>(view, SEL("gestureRecognizers"))), (std::vector<Object*> { tap.get(), pan.get() }));
    EXPECT_EQ(send<Ref<Object>>(tap, SEL("view")).get(), view.get());

    // A copy of the list survives removing what it lists.
    Value copy = *ivar;
    for (auto& item : copy.items())
        send(view, SEL("removeGestureRecognizer:"), item.object());
    EXPECT_EQ(ivar->count(), 0u);
    EXPECT_EQ(copy.count(), 2u);
    EXPECT_EQ(send<Ref<Object>>(tap, SEL("view")).get(), nullptr);

    // A recognizer belongs to one view at a time.
    send(view, SEL("addGestureRecognizer:"), pan.get());
    send(other, SEL("addGestureRecognizer:"), pan.get());
    EXPECT_EQ(ivar->count(), 0u);
    EXPECT_EQ(send<Ref<Object>>(pan, SEL("view")).get(), other.get());

    // A recognizer outlives its view without keeping it.
    other = nullptr;
    EXPECT_EQ(send<Ref<Object>>(pan, SEL("view")).get(), nullptr);
}
