#include "platform/uikit/UIScrollView.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void UIScrollView::setContentOffset(Point offset)
{
    Rect moved = bounds();
    if (moved.origin == offset)
        return;
    moved.origin = offset;
    setBounds(moved);
    Ref<Object> delegate = m_delegate.strong();
    runtime::sendIfResponds(delegate.get(), SEL("scrollViewDidScroll:"), static_cast<Object*>(this));
}

void UIScrollView::dragTo(double offset)
{
    setContentOffset({ contentOffset().x, offset });
    double highest = std::max(0.0, m_contentSize.height - bounds().height());
    setContentOffset({ contentOffset().x, std::clamp(offset, 0.0, highest) });
}

void UIScrollView::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIScrollView>(process.runtime(), "UIScrollView", "UIView")
        .method("contentOffset", Imp::of(&UIScrollView::contentOffset))
        .method("setContentOffset:", Imp::of(&UIScrollView::setContentOffset))
        .method("setContentOffset:animated:",
            Imp::of([](UIScrollView* self, Selector, Point offset, bool) { self->setContentOffset(offset); }))
        .method("contentSize", Imp::of(&UIScrollView::contentSize))
        .method("setContentSize:", Imp::of(&UIScrollView::setContentSize))
        .method(
            "delegate", Imp::of([](UIScrollView* self, Selector) -> Ref<Object> { return self->m_delegate.strong(); }))
        .method("setDelegate:",
            Imp::of([](UIScrollView* self, Selector, Object* delegate) { self->setDelegate(delegate); }));
}

} // namespace uikit
