#include "platform/uikit/TouchDelivery.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using foundation::Value;
using runtime::Object;
using runtime::Ref;
using State = UIGestureRecognizer::State;

namespace {

    // Taps count as one series when they follow within this time and distance.
    constexpr double multiTapInterval = 0.35;
    constexpr double multiTapDistance = 45;

    Value touchArray(UITouch* touch)
    {
        Value touches = Value::array();
        touches.append(Value(static_cast<Object*>(touch)));
        return touches;
    }

    bool isRecognized(State state)
    {
        return state == State::Began || state == State::Changed || state == State::Ended;
    }

    std::vector<Ref<UIGestureRecognizer>> recognizersFor(UIView* hit)
    {
        std::vector<Ref<UIGestureRecognizer>> result;
        bool hitControl = dynamic_cast<UIControl*>(hit) != nullptr;
        for (UIView* view = hit; view; view = view->superview()) {
            for (auto& recognizer : view->gestureRecognizers()) {
                auto* tap = dynamic_cast<UITapGestureRecognizer*>(recognizer.get());
                if (!recognizer->isEnabled() || (hitControl && view != hit && tap && tap->numberOfTapsRequired() == 1))
                    continue;
                result.push_back(recognizer);
            }
        }
        return result;
    }

} // namespace

TouchDelivery::TouchDelivery(device::Process& process)
    : m_process(&process)
{
}

TouchDelivery& TouchDelivery::of(device::Process& process)
{
    return process.service<TouchDelivery>();
}

UIView* TouchDelivery::viewAt(Point screenPoint, UIWindow** hitWindow) const
{
    auto windows = UIKitState::of(*m_process).windows();
    // Newer windows lie in front of older ones of the same level.
    std::reverse(windows.begin(), windows.end());
    std::stable_sort(
        windows.begin(), windows.end(), [](auto& a, auto& b) { return a->windowLevel() > b->windowLevel(); });
    for (auto& window : windows) {
        if (window->isHidden())
            continue;
        Point point = window->pointFromScreen(screenPoint);
        auto hit
            = runtime::send<Ref<Object>>(window.get(), SEL("hitTest:withEvent:"), point, static_cast<Object*>(nullptr));
        if (auto* view = dynamic_cast<UIView*>(hit.get())) {
            if (hitWindow)
                *hitWindow = window.get();
            return view;
        }
    }
    return nullptr;
}

UIView* TouchDelivery::deliver(int finger, Point screenPoint, UITouch::Phase phase)
{
    if (phase == UITouch::Began) {
        if (m_fingers.contains(finger))
            deliver(finger, m_fingers[finger].touch->windowLocation(), UITouch::Cancelled);
        begin(finger, screenPoint);
        auto it = m_fingers.find(finger);
        return it == m_fingers.end() ? nullptr : it->second.touch->view();
    }
    auto it = m_fingers.find(finger);
    if (it == m_fingers.end())
        return nullptr;
    Finger current = it->second;
    if (phase == UITouch::Ended || phase == UITouch::Cancelled)
        m_fingers.erase(it);
    update(current, screenPoint, phase);
    if (auto still = m_fingers.find(finger); still != m_fingers.end())
        still->second.cancelledInView = current.cancelledInView;
    return current.touch->view();
}

void TouchDelivery::begin(int finger, Point screenPoint)
{
    UIWindow* window = nullptr;
    Ref<UIView> hit(viewAt(screenPoint, &window));
    auto touch = instantiate<UITouch>(m_process->runtime(), "UITouch");
    if (!touch)
        return;
    double now = m_process->device().scheduler().now();
    bool follows = now - m_lastTapTime <= multiTapInterval
        && std::hypot(screenPoint.x - m_lastTapPoint.x, screenPoint.y - m_lastTapPoint.y) <= multiTapDistance;
    Point location = window ? window->pointFromScreen(screenPoint) : screenPoint;
    touch->begin(window, hit.get(), location, now, follows ? m_lastTapCount + 1 : 1);
    touch->setRecognizers(recognizersFor(hit.get()));
    Finger& entry = m_fingers[finger];
    entry = { touch, false };
    Finger copy = entry;
    auto event = instantiate<UIEvent>(m_process->runtime(), "UIEvent");
    if (event) {
        event->setTimestamp(now);
        event->setTouches(touchArray(touch.get()));
    }
    for (auto& recognizer : touch->gestureRecognizers())
        recognizer->touchesBegan(*touch);
    settleRecognizers(copy, event.get());
    if (!copy.cancelledInView)
        sendToView(copy, event.get(), "touchesBegan:withEvent:");
    if (auto it = m_fingers.find(finger); it != m_fingers.end())
        it->second.cancelledInView = copy.cancelledInView;
}

void TouchDelivery::update(Finger& finger, Point screenPoint, UITouch::Phase phase)
{
    Ref<UITouch> touch = finger.touch;
    UIWindow* window = touch->window();
    double now = m_process->device().scheduler().now();
    touch->move(window ? window->pointFromScreen(screenPoint) : screenPoint, now, phase);
    auto event = instantiate<UIEvent>(m_process->runtime(), "UIEvent");
    if (event) {
        event->setTimestamp(now);
        event->setTouches(touchArray(touch.get()));
    }
    auto recognizers = touch->gestureRecognizers();
    for (auto& recognizer : recognizers) {
        if (!recognizer->isEnabled() || recognizer->view() == nullptr)
            continue;
        switch (phase) {
        case UITouch::Ended:
            recognizer->touchesEnded(*touch);
            break;
        case UITouch::Cancelled:
            recognizer->touchesCancelled(*touch);
            break;
        default:
            recognizer->touchesMoved(*touch);
        }
        settleRecognizers(finger, event.get());
    }
    if (!finger.cancelledInView) {
        const char* selector = phase == UITouch::Ended ? "touchesEnded:withEvent:"
            : phase == UITouch::Cancelled              ? "touchesCancelled:withEvent:"
                                                       : "touchesMoved:withEvent:";
        sendToView(finger, event.get(), selector);
    }
    if (phase == UITouch::Ended || phase == UITouch::Cancelled) {
        if (phase == UITouch::Ended) {
            m_lastTapPoint = screenPoint;
            m_lastTapTime = now;
            m_lastTapCount = touch->tapCount();
        }
        // The finger is gone: every recognizer is ready for the next gesture.
        for (auto& recognizer : recognizers) {
            if (recognizer->state() != State::Possible && recognizer->state() != State::Began
                && recognizer->state() != State::Changed)
                recognizer->setState(State::Possible);
        }
        touch->setRecognizers({});
    }
}

// The first recognizer that recognizes its gesture wins the touch: the others
// that still might fail, and the view's touches are cancelled.
void TouchDelivery::settleRecognizers(Finger& finger, UIEvent* event)
{
    UITouch& touch = *finger.touch;
    auto recognizers = touch.gestureRecognizers();
    auto winner = std::find_if(
        recognizers.begin(), recognizers.end(), [](auto& recognizer) { return isRecognized(recognizer->state()); });
    if (winner == recognizers.end())
        return;
    std::vector<Ref<UIGestureRecognizer>> remaining;
    for (auto& recognizer : recognizers) {
        if (recognizer == *winner)
            remaining.push_back(recognizer);
        else if (recognizer->state() == State::Possible)
            recognizer->setState(State::Failed);
    }
    touch.setRecognizers(remaining);
    if ((*winner)->cancelsTouchesInView() && !finger.cancelledInView) {
        sendToView(finger, event, "touchesCancelled:withEvent:");
        finger.cancelledInView = true;
    }
}

void TouchDelivery::sendToView(Finger& finger, UIEvent* event, const char* selector)
{
    Ref<UIView> view(finger.touch->view());
    if (!view)
        return;
    Value touches = touchArray(finger.touch.get());
    runtime::send(view.get(), runtime::Selector::named(selector), touches, static_cast<Object*>(event));
}

} // namespace uikit
