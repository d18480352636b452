#include "platform/uikit/UITouch.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Selector;

UITouch* UITouch::first(const runtime::Value& touches)
{
    return touches.count() ? dynamic_cast<UITouch*>(touches[0].object()) : nullptr;
}

UIView* UITouch::view() const
{
    return m_view.get();
}

UIWindow* UITouch::window() const
{
    return m_window.get();
}

Point UITouch::locationInView(const UIView* view) const
{
    return view && m_window ? view->convertPointFrom(m_location, m_window.get()) : m_location;
}

Point UITouch::previousLocationInView(const UIView* view) const
{
    return view && m_window ? view->convertPointFrom(m_previousLocation, m_window.get()) : m_previousLocation;
}

void UITouch::begin(UIWindow* window, UIView* view, Point location, double timestamp, int64_t tapCount)
{
    m_window = window;
    m_view = view;
    m_location = m_previousLocation = location;
    m_timestamp = timestamp;
    m_tapCount = tapCount;
    m_phase = Began;
}

void UITouch::move(Point location, double timestamp, Phase phase)
{
    m_previousLocation = m_location;
    m_location = location;
    m_timestamp = timestamp;
    m_phase = phase;
}

void UITouch::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UITouch>(process.runtime(), "UITouch", "NSObject")
        .method("phase", Imp::of([](UITouch* self, Selector) { return static_cast<int64_t>(self->phase()); }))
        .method("timestamp", Imp::of(&UITouch::timestamp))
        .method("tapCount", Imp::of(&UITouch::tapCount))
        .method("view", Imp::of([](UITouch* self, Selector) -> Object* { return self->view(); }))
        .method("window", Imp::of([](UITouch* self, Selector) -> Object* { return self->window(); }))
        .method("locationInView:",
            Imp::of([](UITouch* self, Selector, UIView* view) { return self->locationInView(view); }))
        .method("previousLocationInView:",
            Imp::of([](UITouch* self, Selector, UIView* view) { return self->previousLocationInView(view); }));
}

} // namespace uikit
