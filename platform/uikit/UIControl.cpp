#include "platform/uikit/UIControl.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UITouch.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    size_t argumentCount(Selector action)
    {
        auto& name = action.name();
        return static_cast<size_t>(std::count(name.begin(), name.end(), ':'));
    }

    // The first responder from `start` on along the chain that answers `action`.
    Ref<Object> responderFor(Object* start, Selector action)
    {
        Ref<Object> responder(start);
        for (int steps = 0; responder && steps < 1000; ++steps) {
            if (runtime::respondsToSelector(responder.get(), action))
                return responder;
            responder = runtime::send<Ref<Object>>(responder, SEL("nextResponder"));
        }
        return nullptr;
    }

} // namespace

void UIControl::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    controlStateDidChange();
}

void UIControl::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    controlStateDidChange();
}

void UIControl::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    controlStateDidChange();
}

uint64_t UIControl::state() const
{
    uint64_t state = Normal;
    if (!m_enabled)
        state |= Disabled;
    if (m_selected)
        state |= Selected;
    if (m_highlighted)
        state |= Highlighted;
    return state;
}

void UIControl::setContentVerticalAlignment(int64_t alignment)
{
    if (alignment == m_contentVerticalAlignment)
        return;
    m_contentVerticalAlignment = alignment;
    controlStateDidChange();
}

void UIControl::addTarget(Object* target, Selector action, uint64_t events)
{
    if (action.isNull() || !events)
        return;
    for (auto& registration : m_registrations) {
        if (registration.action == action && registration.hasTarget == (target != nullptr)
            && registration.target.get() == target) {
            registration.events |= events;
            return;
        }
    }
    m_registrations.push_back({ target, target != nullptr, action, events });
}

void UIControl::removeTarget(Object* target, Selector action, uint64_t events)
{
    for (auto& registration : m_registrations) {
        bool targetMatches = !target || registration.target.get() == target;
        bool actionMatches = action.isNull() || registration.action == action;
        if (targetMatches && actionMatches)
            registration.events &= ~events;
    }
    std::erase_if(m_registrations,
        [](auto& registration) { return !registration.events || (registration.hasTarget && !registration.target); });
}

bool UIControl::hasActions(uint64_t events) const
{
    return std::any_of(m_registrations.begin(), m_registrations.end(), [events](auto& registration) {
        return (registration.events & events) && (!registration.hasTarget || registration.target);
    });
}

void UIControl::sendActionsForControlEvents(uint64_t events)
{
    // A copy: an action may add or remove registrations, or release the control.
    Ref<UIControl> protect(this);
    auto registrations = m_registrations;
    for (auto& registration : registrations) {
        if (registration.events & events)
            sendAction(registration);
    }
}

void UIControl::sendAction(const Registration& registration)
{
    Ref<Object> target
        = registration.hasTarget ? registration.target.strong() : responderFor(this, registration.action);
    if (!target)
        return;
    switch (argumentCount(registration.action)) {
    case 0:
        runtime::send(target.get(), registration.action);
        break;
    case 1:
        runtime::send(target.get(), registration.action, static_cast<Object*>(this));
        break;
    default:
        runtime::send(target.get(), registration.action, static_cast<Object*>(this), static_cast<Object*>(nullptr));
        break;
    }
}

bool UIControl::canTakeTouches() const
{
    for (const UIView* view = this; view; view = view->superview()) {
        if (view->isHidden() || !view->isUserInteractionEnabled() || view->alpha() < 0.01)
            return false;
    }
    return m_enabled;
}

bool UIControl::tap()
{
    if (!canTakeTouches())
        return false;
    sendActionsForControlEvents(TouchUpInside);
    return true;
}

void UIControl::touchUpInside(Point)
{
    sendActionsForControlEvents(TouchUpInside);
}

// A control tracks the finger that went down on it; a disabled one lets it pass.
void UIControl::touchesBegan(const foundation::Value& touches, Object* event)
{
    if (!m_enabled) {
        runtime::send(nextResponder(), SEL("touchesBegan:withEvent:"), touches, event);
        return;
    }
    Ref<UIControl> protect(this);
    m_tracking = true;
    setHighlighted(true);
    sendActionsForControlEvents(TouchDown);
}

void UIControl::touchesMoved(const foundation::Value& touches)
{
    UITouch* touch = UITouch::first(touches);
    if (!m_tracking || !touch)
        return;
    Point point = touch->locationInView(this);
    setHighlighted(pointInside(point));
    trackTouch(point);
}

void UIControl::touchesEnded(const foundation::Value& touches)
{
    UITouch* touch = UITouch::first(touches);
    if (!m_tracking || !touch)
        return;
    Ref<UIControl> protect(this);
    m_tracking = false;
    setHighlighted(false);
    Point point = touch->locationInView(this);
    if (pointInside(point))
        touchUpInside(point);
    else
        sendActionsForControlEvents(TouchUpOutside);
}

void UIControl::touchesCancelled()
{
    if (!m_tracking)
        return;
    Ref<UIControl> protect(this);
    m_tracking = false;
    setHighlighted(false);
    sendActionsForControlEvents(TouchCancel);
}

void UIControl::registerClass(device::Process& process)
{
    using foundation::Value;
    runtime::ClassBuilder::define<UIControl>(process.runtime(), "UIControl", "UIView")
        .method("addTarget:action:forControlEvents:", Imp::of(&UIControl::addTarget))
        .method("removeTarget:action:forControlEvents:", Imp::of(&UIControl::removeTarget))
        .method("sendActionsForControlEvents:", Imp::of(&UIControl::sendActionsForControlEvents))
        .property("isEnabled", "setEnabled:", &UIControl::isEnabled, &UIControl::setEnabled)
        .method("enabled", Imp::of(&UIControl::isEnabled))
        .property("isSelected", "setSelected:", &UIControl::isSelected, &UIControl::setSelected)
        .property("isHighlighted", "setHighlighted:", &UIControl::isHighlighted, &UIControl::setHighlighted)
        .method("state", Imp::of(&UIControl::state))
        .property("contentVerticalAlignment", "setContentVerticalAlignment:", &UIControl::contentVerticalAlignment,
            &UIControl::setContentVerticalAlignment)
        .method("touchesBegan:withEvent:", Imp::of(&UIControl::touchesBegan))
        .method("touchesMoved:withEvent:",
            Imp::of([](UIControl* self, Selector, const Value& touches, Object*) { self->touchesMoved(touches); }))
        .method("touchesEnded:withEvent:",
            Imp::of([](UIControl* self, Selector, const Value& touches, Object*) { self->touchesEnded(touches); }))
        .method("touchesCancelled:withEvent:",
            Imp::of([](UIControl* self, Selector, const Value&, Object*) { self->touchesCancelled(); }));
}

} // namespace uikit
