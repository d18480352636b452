#include "platform/uikit/UITapGestureRecognizer.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

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

void UITapGestureRecognizer::registerClass(device::Process& process)
{
    ClassBuilder::define<UITapGestureRecognizer>(process.runtime(), "UITapGestureRecognizer", "UIGestureRecognizer")
        .method("numberOfTapsRequired", Imp::of(&UITapGestureRecognizer::numberOfTapsRequired))
        .method("setNumberOfTapsRequired:", Imp::of(&UITapGestureRecognizer::setNumberOfTapsRequired));
}

} // namespace uikit
