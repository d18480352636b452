#include "platform/uikit/UIPanGestureRecognizer.h"

#include <cmath>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UITouch.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Selector;

Point UIPanGestureRecognizer::velocity() const
{
    if (m_samples.size() < 2)
        return {};
    auto& first = m_samples.front();
    auto& last = m_samples.back();
    double elapsed = last.time - first.time;
    if (elapsed <= 0)
        return {};
    return { (last.location.x - first.location.x) / elapsed, (last.location.y - first.location.y) / elapsed };
}

void UIPanGestureRecognizer::follow(UITouch& touch)
{
    constexpr double velocityWindow = 0.1;
    double now = touch.timestamp();
    m_samples.push_back({ now, touch.windowLocation() });
    std::erase_if(m_samples, [&](const Sample& sample) { return sample.time < now - velocityWindow - 1e-9; });
    Point at = touch.windowLocation();
    m_translation = { at.x - m_start.x, at.y - m_start.y };
}

void UIPanGestureRecognizer::touchesBegan(UITouch& touch)
{
    m_start = touch.windowLocation();
    m_samples.clear();
    follow(touch);
}

void UIPanGestureRecognizer::touchesMoved(UITouch& touch)
{
    follow(touch);
    if (state() == State::Possible) {
        if (std::hypot(m_translation.x, m_translation.y) > allowableMovement)
            setState(State::Began);
    } else if (state() == State::Began || state() == State::Changed) {
        setState(State::Changed);
    }
}

void UIPanGestureRecognizer::touchesEnded(UITouch& touch)
{
    follow(touch);
    bool inProgress = state() == State::Began || state() == State::Changed;
    if (inProgress || state() == State::Possible)
        setState(inProgress ? State::Ended : State::Failed);
}

void UIPanGestureRecognizer::touchesCancelled(UITouch&)
{
    bool inProgress = state() == State::Began || state() == State::Changed;
    if (inProgress || state() == State::Possible)
        setState(inProgress ? State::Cancelled : State::Failed);
}

void UIPanGestureRecognizer::registerClass(device::Process& process)
{
    // Views are not transformed, so a translation reads the same in every view.
    runtime::ClassBuilder::define<UIPanGestureRecognizer>(
        process.runtime(), "UIPanGestureRecognizer", "UIGestureRecognizer")
        .method("translationInView:",
            Imp::of([](UIPanGestureRecognizer* self, Selector, Object*) { return self->translation(); }))
        .method(
            "setTranslation:inView:", Imp::of([](UIPanGestureRecognizer* self, Selector, Point translation, Object*) {
                self->setTranslation(translation);
            }))
        .method("velocityInView:",
            Imp::of([](UIPanGestureRecognizer* self, Selector, Object*) { return self->velocity(); }));
}

} // namespace uikit
