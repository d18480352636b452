#include "platform/uikit/UIGestureRecognizer.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIView.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

UIView* UIGestureRecognizer::view() const
{
    return m_view.get();
}

void UIGestureRecognizer::setView(UIView* view)
{
    m_view = view;
}

void UIGestureRecognizer::addTarget(Object* target, Selector action)
{
    if (!target || action.isNull())
        return;
    auto same = [&](const Target& entry) { return entry.object.get() == target && entry.action == action; };
    if (std::none_of(m_targets.begin(), m_targets.end(), same))
        m_targets.push_back({ target, action });
}

void UIGestureRecognizer::removeTarget(Object* target, Selector action)
{
    std::erase_if(m_targets, [&](const Target& entry) {
        bool targetMatches = !target || entry.object.get() == target;
        bool actionMatches = action.isNull() || entry.action == action;
        return targetMatches && actionMatches;
    });
}

void UIGestureRecognizer::setState(State state)
{
    if (!m_enabled)
        return;
    m_state = state;
    if (state == State::Began || state == State::Changed || state == State::Ended || state == State::Cancelled)
        sendActions();
}

void UIGestureRecognizer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    // Disabling cancels a gesture in progress.
    if (!enabled && (m_state == State::Began || m_state == State::Changed)) {
        m_state = State::Cancelled;
        sendActions();
    }
}

void UIGestureRecognizer::sendActions()
{
    // A copy, so that an action that adds or removes targets does not disturb this round.
    Ref<UIGestureRecognizer> protect(this);
    auto targets = m_targets;
    for (auto& entry : targets) {
        Ref<Object> target = entry.object.strong();
        if (!target)
            continue;
        if (entry.action.name().ends_with(':'))
            runtime::send(target.get(), entry.action, static_cast<Object*>(this));
        else
            runtime::send(target.get(), entry.action);
    }
}

void UIGestureRecognizer::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIGestureRecognizer>(process.runtime(), "UIGestureRecognizer", "NSObject")
        .method("initWithTarget:action:",
            Imp::of([](UIGestureRecognizer* self, Selector, Object* target, Selector action) -> Object* {
                self->addTarget(target, action);
                return self;
            }))
        .method("addTarget:action:", Imp::of(&UIGestureRecognizer::addTarget))
        .method("removeTarget:action:", Imp::of(&UIGestureRecognizer::removeTarget))
        .method("view", Imp::of([](UIGestureRecognizer* self, Selector) -> Object* { return self->view(); }))
        .method(
            "state", Imp::of([](UIGestureRecognizer* self, Selector) { return static_cast<int64_t>(self->state()); }))
        .method("setState:", Imp::of([](UIGestureRecognizer* self, Selector, int64_t state) {
            if (state >= 0 && state <= static_cast<int64_t>(State::Failed))
                self->setState(static_cast<State>(state));
        }))
        .method("cancelsTouchesInView", Imp::of(&UIGestureRecognizer::cancelsTouchesInView))
        .method("setCancelsTouchesInView:", Imp::of(&UIGestureRecognizer::setCancelsTouchesInView))
        .method("isEnabled", Imp::of(&UIGestureRecognizer::isEnabled))
        .method("setEnabled:", Imp::of(&UIGestureRecognizer::setEnabled));
}

} // namespace uikit
