#include "platform/uikit/UITapGestureRecognizer.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UITouch.h"

namespace uikit {

using runtime::Imp;

void UITapGestureRecognizer::setNumberOfTapsRequired(int64_t count)
{
    m_numberOfTapsRequired = std::max<int64_t>(count, 1);
}

void UITapGestureRecognizer::recognizeTap()
{
    setState(State::Ended);
    if (state() == State::Ended)
        setState(State::Possible);
}

void UITapGestureRecognizer::touchesBegan(UITouch& touch)
{
    m_start = touch.windowLocation();
}

void UITapGestureRecognizer::touchesMoved(UITouch& touch)
{
    Point at = touch.windowLocation();
    if (state() == State::Possible && std::hypot(at.x - m_start.x, at.y - m_start.y) > allowableMovement)
        setState(State::Failed);
}

void UITapGestureRecognizer::touchesEnded(UITouch& touch)
{
    touchesMoved(touch);
    if (state() == State::Possible)
        setState(touch.tapCount() >= m_numberOfTapsRequired ? State::Ended : State::Failed);
}

void UITapGestureRecognizer::touchesCancelled(UITouch&)
{
    if (state() == State::Possible)
        setState(State::Failed);
}

void UITapGestureRecognizer::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UITapGestureRecognizer>(
        process.runtime(), "UITapGestureRecognizer", "UIGestureRecognizer")
        .method("numberOfTapsRequired", Imp::of(&UITapGestureRecognizer::numberOfTapsRequired))
        .method("setNumberOfTapsRequired:", Imp::of(&UITapGestureRecognizer::setNumberOfTapsRequired));
}

} // namespace uikit
