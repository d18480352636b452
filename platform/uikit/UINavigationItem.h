#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// What a navigation bar shows for the controller on top of its stack: a
// title, or a view in its place, a button at the right, and whether the
// title is shown large.
//
// Messages: title, setTitle:(Value), titleView, setTitleView:(UIView),
// rightBarButtonItem, setRightBarButtonItem:(UIBarButtonItem),
// largeTitleDisplayMode, setLargeTitleDisplayMode:(int64).
class UINavigationItem : public runtime::NSObject {
public:
    // UINavigationItemLargeTitleDisplayMode.
    enum LargeTitleDisplayMode : int64_t { Automatic = 0, Always = 1, Never = 2 };

    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    void setTitle(const foundation::Value& title) { m_title = title; }
    UIView* titleView() const { return m_titleView.get(); }
    UIBarButtonItem* rightBarButtonItem() const { return m_rightBarButtonItem.get(); }
    int64_t largeTitleDisplayMode() const { return m_largeTitleDisplayMode; }

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    runtime::Ref<UIView> m_titleView;
    runtime::Ref<UIBarButtonItem> m_rightBarButtonItem;
    int64_t m_largeTitleDisplayMode { Automatic };
};

} // namespace uikit
