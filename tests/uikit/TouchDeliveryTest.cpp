#include "platform/uikit/TouchDelivery.h"

#include <gtest/gtest.h>

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include "tests/uikit/ActionRecorder.h"
#include "tests/uikit/UIKitTestProcess.h"

using runtime::Object;
using runtime::Ref;
using runtime::send;
using uikit::Point;
using uikit::Rect;
using uikit::TouchDelivery;
using uikit::UITouch;
using uikit::UIView;
using State = uikit::UIGestureRecognizer::State;

namespace {

constexpr uint64_t touchDown = 1;
constexpr uint64_t touchUpInside = 64;
constexpr uint64_t touchUpOutside = 128;
constexpr uint64_t touchCancel = 256;
constexpr uint64_t valueChanged = 4096;

class TouchDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ActionRecorder::defineClass(
            test.runtime(), { "tapped:", "panned:", "down:", "up:", "outside:", "cancel:", "changed:" });
        recorder = ActionRecorder::make(test.runtime());
        window = makeWindow({ { 0, 0 }, { 390, 844 } }, 0);
    }

    Ref<Object> makeWindow(Rect frame, double level)
    {
        auto made = test.makeView("UIWindow", frame);
        send(made, SEL("setWindowLevel:"), level);
        send(made, SEL("setHidden:"), false);
        return made;
    }

    Ref<Object> addView(Object* superview, Rect frame, const char* className = "UIView")
    {
        auto view = test.makeView(className, frame);
        send(superview, SEL("addSubview:"), view.get());
        return view;
    }

    Ref<Object> addRecognizer(Object* view, const char* className, const char* action)
    {
        auto recognizer = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed(className)),
            SEL("initWithTarget:action:"), recorder.get(), runtime::Selector::named(action));
        send(view, SEL("addGestureRecognizer:"), recognizer.get());
        return recognizer;
    }

    TouchDelivery& delivery() { return TouchDelivery::of(test.process()); }
    Object* viewAt(Point point) { return delivery().viewAt(point); }

    // One finger down at `points[0]`, moved through the rest at 60 a second, then lifted.
    void drag(std::vector<Point> points, UITouch::Phase end = UITouch::Ended)
    {
        delivery().deliver(1, points.front(), UITouch::Began);
        for (size_t index = 1; index < points.size(); ++index) {
            test.device().scheduler().advance(1.0 / 60);
            delivery().deliver(1, points[index], UITouch::Moved);
        }
        test.device().scheduler().advance(1.0 / 60);
        delivery().deliver(1, points.back(), end);
    }

    size_t count(const std::string& action) const
    {
        return static_cast<size_t>(std::count(recorder->actions.begin(), recorder->actions.end(), action));
    }

    UIKitTestProcess test;
    Ref<ActionRecorder> recorder;
    Ref<Object> window;
};

} // namespace

TEST_F(TouchDeliveryTest, hitTestingSkipsHiddenTransparentAndUntouchableViewsAndWhatTheirSuperviewClips)
{
    auto base = addView(window.get(), { { 0, 0 }, { 200, 200 } });
    auto hidden = addView(base.get(), { { 0, 0 }, { 50, 50 } });
    send(hidden, SEL("setHidden:"), true);
    auto faint = addView(base.get(), { { 50, 0 }, { 50, 50 } });
    send(faint, SEL("setAlpha:"), 0.005);
    auto visibleEnough = addView(base.get(), { { 100, 0 }, { 50, 50 } });
    send(visibleEnough, SEL("setAlpha:"), 0.02);
    auto untouchable = addView(base.get(), { { 150, 0 }, { 50, 50 } });
    send(untouchable, SEL("setUserInteractionEnabled:"), false);
    auto childOfUntouchable = addView(untouchable.get(), { { 0, 0 }, { 10, 10 } });
    // Half inside the base, half beyond its right edge.
    auto overhanging = addView(base.get(), { { 180, 100 }, { 60, 20 } });

    EXPECT_EQ(viewAt({ 10, 10 }), base.get());
    EXPECT_EQ(viewAt({ 60, 10 }), base.get());
    EXPECT_EQ(viewAt({ 110, 10 }), visibleEnough.get());
    EXPECT_EQ(viewAt({ 155, 5 }), base.get()) << "the subview of a view without user interaction takes nothing";
    EXPECT_EQ(viewAt({ 190, 110 }), overhanging.get());
    EXPECT_EQ(viewAt({ 220, 110 }), window.get()) << "the part outside its superview is not hit";
    EXPECT_EQ(viewAt({ 300, 500 }), window.get());
    EXPECT_EQ(viewAt({ -1, 10 }), nullptr);
    EXPECT_EQ(viewAt({ 390, 10 }), nullptr) << "the right edge lies outside";
    (void)childOfUntouchable;

    // A view that overrides pointInside:withEvent: decides for its subviews too.
    auto& cls = test.runtime().defineClass<UIView>("WideHitView", "UIView");
    test.runtime().define(cls, SEL("pointInside:withEvent:"),
        runtime::Imp::of([](UIView*, runtime::Selector, Point point, Object*) { return point.x < 300; }));
    auto wide = addView(window.get(), { { 0, 300 }, { 100, 100 } }, "WideHitView");
    auto beyond = addView(wide.get(), { { 150, 0 }, { 50, 50 } });
    EXPECT_EQ(viewAt({ 160, 310 }), beyond.get());
    EXPECT_EQ(viewAt({ 260, 310 }), wide.get());
}

TEST_F(TouchDeliveryTest, overlappingSiblingsAreTriedFrontToBack)
{
    auto back = addView(window.get(), { { 0, 0 }, { 100, 100 } });
    auto front = addView(window.get(), { { 50, 50 }, { 100, 100 } });
    auto inBack = addView(back.get(), { { 60, 60 }, { 30, 30 } });
    EXPECT_EQ(viewAt({ 70, 70 }), front.get()) << "the front sibling hides the back one's subview";
    EXPECT_EQ(viewAt({ 20, 20 }), back.get());
    send(front, SEL("setHidden:"), true);
    EXPECT_EQ(viewAt({ 70, 70 }), inBack.get());
    send(front, SEL("setHidden:"), false);
    send(window, SEL("bringSubviewToFront:"), back.get());
    EXPECT_EQ(viewAt({ 70, 70 }), inBack.get());
}

TEST_F(TouchDeliveryTest, pointsConvertThroughFramesAndBoundsOfASlidingView)
{
    // A host hangs below the top; its banner slides up through it.
    auto host = addView(window.get(), { { 0, 70 }, { 390, 100 } });
    send(host, SEL("setClipsToBounds:"), false);
    auto banner = addView(host.get(), { { 0, -70 }, { 390, 96 } });
    auto button = addView(banner.get(), { { 300, 60 }, { 80, 30 } });

    auto* bannerView = dynamic_cast<UIView*>(banner.get());
    Point onScreen = bannerView->convertPointTo({ 0, 0 }, nullptr);
    EXPECT_DOUBLE_EQ(onScreen.y, 0);
    Point inButton = dynamic_cast<UIView*>(button.get())->convertPointFrom({ 310, 65 }, nullptr);
    EXPECT_DOUBLE_EQ(inButton.x, 10);
    EXPECT_DOUBLE_EQ(inButton.y, 5);
    auto converted = send<Point>(button, SEL("convertPoint:toView:"), Point { 0, 0 }, host.get());
    EXPECT_DOUBLE_EQ(converted.x, 300);
    EXPECT_DOUBLE_EQ(converted.y, -10);

    // The part of the banner above its host lies outside the host's bounds
    // and takes no touches; the rest does.
    EXPECT_EQ(viewAt({ 320, 75 }), button.get());
    EXPECT_EQ(viewAt({ 320, 85 }), button.get());
    EXPECT_EQ(viewAt({ 320, 65 }), window.get());
    EXPECT_EQ(viewAt({ 100, 80 }), banner.get());

    // Mid-slide, 10 points up: the button has moved with the banner.
    send(banner, SEL("setFrame:"), Rect { { 0, -80 }, { 390, 96 } });
    EXPECT_EQ(viewAt({ 320, 85 }), banner.get());
    EXPECT_EQ(viewAt({ 320, 75 }), button.get());
    // Gone above the host: the host itself is under the finger.
    send(banner, SEL("setFrame:"), Rect { { 0, -110 }, { 390, 96 } });
    EXPECT_EQ(viewAt({ 320, 75 }), host.get());
    // A host whose bounds start higher shows (and takes touches on) its content lower down.
    send(host, SEL("setBounds:"), Rect { { 0, -40 }, { 390, 100 } });
    EXPECT_EQ(viewAt({ 320, 75 }), button.get());
}

TEST_F(TouchDeliveryTest, windowsAreTriedByLevelThenNewestFirst)
{
    auto low = addView(window.get(), { { 0, 0 }, { 390, 844 } });
    auto bannerWindow = makeWindow({ { 0, 0 }, { 390, 200 } }, 2000);
    auto onBanner = addView(bannerWindow.get(), { { 0, 0 }, { 390, 100 } });
    auto statusBar = makeWindow({ { 0, 0 }, { 390, 44 } }, uikit::UIWindow::statusBarLevel);
    auto sameLevelNewer = makeWindow({ { 0, 600 }, { 390, 244 } }, 0);

    UIView* hitWindow = nullptr;
    uikit::UIWindow* found = nullptr;
    EXPECT_EQ(delivery().viewAt({ 10, 10 }, &found), onBanner.get()) << "above the status bar's level";
    EXPECT_EQ(found, bannerWindow.get());
    EXPECT_EQ(viewAt({ 10, 150 }), bannerWindow.get());
    EXPECT_EQ(viewAt({ 10, 300 }), low.get());
    EXPECT_EQ(viewAt({ 10, 700 }), sameLevelNewer.get());
    // A window's frame places it: its content is hit in its own coordinates.
    auto inNewer = addView(sameLevelNewer.get(), { { 0, 0 }, { 10, 10 } });
    EXPECT_EQ(viewAt({ 5, 605 }), inNewer.get());

    send(bannerWindow, SEL("setHidden:"), true);
    EXPECT_EQ(viewAt({ 10, 10 }), statusBar.get());
    (void)hitWindow;
}

TEST_F(TouchDeliveryTest, aTapIsRecognizedUnlessTheFingerMovesTooFar)
{
    auto view = addView(window.get(), { { 0, 0 }, { 300, 300 } });
    auto tap = addRecognizer(view.get(), "UITapGestureRecognizer", "tapped:");
    auto pan = addRecognizer(view.get(), "UIPanGestureRecognizer", "panned:");

    drag({ { 100, 100 }, { 104, 103 }, { 107, 106 } });
    EXPECT_EQ(count("tapped:"), 1u) << "a wobble under ten points is still a tap";
    EXPECT_EQ(count("panned:"), 0u);
    EXPECT_EQ(send<int64_t>(tap, SEL("state")), int64_t(State::Possible)) << "ready for the next touch";

    drag({ { 100, 100 }, { 100, 106 }, { 100, 112 }, { 100, 118 } });
    EXPECT_EQ(count("tapped:"), 1u);
    // Began at 12 points, changed at 18, then ended.
    EXPECT_EQ(count("panned:"), 3u);
    EXPECT_EQ(send<int64_t>(pan, SEL("state")), int64_t(State::Possible)) << "ready for the next touch";

    // A touch that starts outside the view reaches none of its recognizers.
    drag({ { 350, 350 } });
    EXPECT_EQ(count("tapped:"), 1u);
}

TEST_F(TouchDeliveryTest, aPanMeasuresTranslationFromTheTouchDownAndVelocityFromTheLastMoves)
{
    auto view = addView(window.get(), { { 0, 0 }, { 390, 400 } });
    auto pan = addRecognizer(view.get(), "UIPanGestureRecognizer", "panned:");
    auto* recognizer = dynamic_cast<uikit::UIPanGestureRecognizer*>(pan.get());

    std::vector<Point> points;
    for (int step = 0; step <= 10; ++step)
        points.push_back({ 50, 100 + 6.0 * step });
    // Still down after the last move.
    delivery().deliver(1, points.front(), UITouch::Began);
    for (size_t index = 1; index < points.size(); ++index) {
        test.device().scheduler().advance(1.0 / 60);
        delivery().deliver(1, points[index], UITouch::Moved);
    }
    EXPECT_EQ(recognizer->state(), State::Changed);
    auto translation = send<Point>(pan, SEL("translationInView:"), view.get());
    EXPECT_DOUBLE_EQ(translation.x, 0);
    EXPECT_DOUBLE_EQ(translation.y, 60);
    auto velocity = send<Point>(pan, SEL("velocityInView:"), view.get());
    EXPECT_NEAR(velocity.y, 360, 1e-6) << "6 points a frame at 60 frames a second";
    EXPECT_NEAR(velocity.x, 0, 1e-9);

    // The finger stops: after a tenth of a second without moving the velocity is gone.
    test.device().scheduler().advance(0.2);
    delivery().deliver(1, points.back(), UITouch::Moved);
    EXPECT_NEAR(send<Point>(pan, SEL("velocityInView:"), view.get()).y, 0, 1e-9);
    recorder->actions.clear();
    delivery().deliver(1, points.back(), UITouch::Ended);
    EXPECT_EQ(count("panned:"), 1u) << "the end";
}

TEST_F(TouchDeliveryTest, aCancelledTouchCancelsAPanAndFailsATap)
{
    auto view = addView(window.get(), { { 0, 0 }, { 300, 300 } });
    auto tap = addRecognizer(view.get(), "UITapGestureRecognizer", "tapped:");
    auto pan = addRecognizer(view.get(), "UIPanGestureRecognizer", "panned:");
    std::vector<int64_t> panStates;
    auto& cls = test.runtime().defineClass<ActionRecorder>("StateRecorder", "NSObject");
    test.runtime().define(
        cls, SEL("record:"), runtime::Imp::of([&panStates](Object*, runtime::Selector, Object* sender) {
            panStates.push_back(send<int64_t>(sender, SEL("state")));
        }));
    auto stateRecorder = test.make("StateRecorder");
    send(pan, SEL("addTarget:action:"), stateRecorder.get(), SEL("record:"));

    drag({ { 100, 100 }, { 100, 120 }, { 100, 140 } }, UITouch::Cancelled);
    EXPECT_EQ(panStates,
        (std::vector<int64_t> { int64_t(State::Began), int64_t(State::Changed), int64_t(State::Cancelled) }));
    EXPECT_EQ(count("tapped:"), 0u);

    // Cancelled before it moved: nothing is recognized at all.
    panStates.clear();
    drag({ { 100, 100 } }, UITouch::Cancelled);
    EXPECT_TRUE(panStates.empty());
    EXPECT_EQ(count("tapped:"), 0u);
    (void)tap;
}

TEST_F(TouchDeliveryTest, aButtonSendsTouchUpInsideOnlyWhenTheFingerLiftsOverIt)
{
    auto control = addView(window.get(), { { 100, 100 }, { 80, 40 } }, "UIControl");
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("down:"), touchDown);
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("up:"), touchUpInside);
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("outside:"), touchUpOutside);
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("cancel:"), touchCancel);

    drag({ { 120, 110 }, { 150, 120 } });
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "down:", "up:" }));

    recorder->actions.clear();
    drag({ { 120, 110 }, { 150, 160 }, { 250, 300 } });
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "down:", "outside:" }))
        << "lifted outside: the press does nothing";
    EXPECT_FALSE(send<bool>(control, SEL("isHighlighted")));

    recorder->actions.clear();
    drag({ { 120, 110 } }, UITouch::Cancelled);
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "down:", "cancel:" }));

    // A disabled control lets the touch pass to the view behind.
    recorder->actions.clear();
    send(control, SEL("setEnabled:"), false);
    drag({ { 120, 110 } });
    EXPECT_TRUE(recorder->actions.empty());
}

TEST_F(TouchDeliveryTest, aRecognizedDragCancelsTheTouchesOfTheControlUnderIt)
{
    auto card = addView(window.get(), { { 0, 0 }, { 390, 200 } });
    addRecognizer(card.get(), "UIPanGestureRecognizer", "panned:");
    addRecognizer(card.get(), "UITapGestureRecognizer", "tapped:");
    auto control = addView(card.get(), { { 300, 150 }, { 80, 40 } }, "UIControl");
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("up:"), touchUpInside);
    send(control, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("cancel:"), touchCancel);

    // A tap on the control is the control's, not the card's tap recognizer's.
    drag({ { 310, 160 } });
    EXPECT_EQ(recorder->actions, (std::vector<std::string> { "up:" }));

    recorder->actions.clear();
    drag({ { 310, 160 }, { 310, 175 }, { 312, 165 } });
    EXPECT_EQ(count("panned:"), 3u);
    EXPECT_EQ(count("cancel:"), 1u);
    EXPECT_EQ(count("up:"), 0u) << "the drag took the touch away from the control";

    // A recognizer that leaves the view its touches.
    recorder->actions.clear();
    auto recognizers = send<foundation::Value>(card, SEL("gestureRecognizers"));
    send(recognizers[0].object(), SEL("setCancelsTouchesInView:"), false);
    drag({ { 310, 160 }, { 310, 175 }, { 312, 165 } });
    EXPECT_EQ(count("cancel:"), 0u);
    EXPECT_EQ(count("up:"), 1u);
}

TEST_F(TouchDeliveryTest, aSwitchTogglesOnATapAndTapsInARowAreCounted)
{
    auto toggle = addView(window.get(), { { 20, 20 }, { 51, 31 } }, "UISwitch");
    send(toggle, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("changed:"), valueChanged);
    drag({ { 30, 30 } });
    EXPECT_TRUE(send<bool>(toggle, SEL("isOn")));
    EXPECT_EQ(count("changed:"), 1u);
    drag({ { 30, 30 }, { 300, 300 } });
    EXPECT_TRUE(send<bool>(toggle, SEL("isOn"))) << "lifted outside: no change";

    auto view = addView(window.get(), { { 100, 400 }, { 200, 200 } });
    auto doubleTap = addRecognizer(view.get(), "UITapGestureRecognizer", "tapped:");
    send(doubleTap, SEL("setNumberOfTapsRequired:"), int64_t { 2 });
    test.device().scheduler().advance(1);
    drag({ { 150, 450 } });
    EXPECT_EQ(count("tapped:"), 0u);
    test.device().scheduler().advance(0.1);
    drag({ { 155, 452 } });
    EXPECT_EQ(count("tapped:"), 1u) << "the second tap soon after, near the first";
    test.device().scheduler().advance(1);
    drag({ { 150, 450 } });
    EXPECT_EQ(count("tapped:"), 1u);
}

TEST_F(TouchDeliveryTest, aSliderFollowsTheFingerAndASegmentedControlSelectsWhereItLifts)
{
    // The knob's centre travels from 14 to 186 points: 172 points for the range 0 to 10.
    auto slider = addView(window.get(), { { 50, 100 }, { 200, 31 } }, "UISlider");
    send(slider, SEL("setMaximumValue:"), 10.0);
    send(slider, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("changed:"), valueChanged);
    drag({ { 64, 115 }, { 150, 115 }, { 150 + 86, 140 } });
    EXPECT_NEAR(send<double>(slider, SEL("value")), 10, 1e-9) << "lifted below the track, at its end";
    EXPECT_EQ(count("changed:"), 2u) << "one for each move while continuous";
    drag({ { 150, 115 }, { 64 + 43, 115 } });
    EXPECT_NEAR(send<double>(slider, SEL("value")), 2.5, 1e-9);
    EXPECT_EQ(count("changed:"), 4u) << "a move and the lift inside";
    drag({ { 100, 115 }, { -100, 115 } });
    EXPECT_NEAR(send<double>(slider, SEL("value")), 0, 1e-9) << "clamped to the range";

    recorder->actions.clear();
    send(slider, SEL("setContinuous:"), false);
    drag({ { 100, 115 }, { 150, 115 }, { 64 + 86, 115 } });
    EXPECT_NEAR(send<double>(slider, SEL("value")), 5, 1e-9);
    EXPECT_EQ(count("changed:"), 1u) << "not continuous: only where the finger lifts";

    using foundation::Value;
    auto segments = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("UISegmentedControl")),
        SEL("initWithItems:"), Value(Value::Array { Value("One"), Value("Two"), Value("Three") }));
    send(segments, SEL("setFrame:"), uikit::makeRect(30, 300, 300, 32));
    send(window, SEL("addSubview:"), segments.get());
    send(segments, SEL("addTarget:action:forControlEvents:"), recorder.get(), SEL("changed:"), valueChanged);
    recorder->actions.clear();
    drag({ { 250, 310 } });
    EXPECT_EQ(send<int64_t>(segments, SEL("selectedSegmentIndex")), 2);
    drag({ { 250, 310 }, { 60, 315 } });
    EXPECT_EQ(send<int64_t>(segments, SEL("selectedSegmentIndex")), 0) << "the segment where the finger lifts";
    drag({ { 140, 310 }, { 140, 400 } });
    EXPECT_EQ(send<int64_t>(segments, SEL("selectedSegmentIndex")), 0) << "lifted outside: no change";
    EXPECT_EQ(count("changed:"), 2u);
}
