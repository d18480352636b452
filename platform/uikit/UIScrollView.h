#pragma once

#include "platform/uikit/UIView.h"

namespace uikit {

// A view whose content is larger than itself and moves under it: the
// content offset is the origin of its bounds, so subviews placed in content
// coordinates show shifted by it. Every change of the offset is told to the
// delegate (`scrollViewDidScroll:`), which the scroll view refers to without
// owning.
//
// Messages: contentOffset, setContentOffset:(Point), setContentOffset:animated:,
// contentSize, setContentSize:(Size), delegate, setDelegate:.
class UIScrollView : public UIView {
public:
    using UIView::UIView;

    Point contentOffset() const { return bounds().origin; }
    void setContentOffset(Point);
    Size contentSize() const { return m_contentSize; }
    void setContentSize(Size size) { m_contentSize = size; }
    runtime::Object* delegate() const { return m_delegate.get(); }
    void setDelegate(runtime::Object* delegate) { m_delegate = runtime::WeakRef<runtime::Object>(delegate); }

    // A user's drag that lets go with the content `offset` points from its
    // top (negative: pulled down past the top): the offset passes through
    // it, then the content settles within its range, as a released pull
    // springs back.
    void dragTo(double offset);

    static void registerClass(device::Process&);

private:
    runtime::WeakRef<runtime::Object> m_delegate;
    Size m_contentSize;
};

} // namespace uikit
