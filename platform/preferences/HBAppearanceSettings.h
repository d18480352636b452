#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace preferences {

// The look of a settings page (the preference library's appearance object):
// the tint of its controls and bar buttons, the colour of the lines between
// its cells, and whether its navigation bar is translucent. A page asks for
// each through the run time when it appears, so a subclass may answer them
// by overriding the messages.
//
// Messages: tintColor, setTintColor:, navigationBarTintColor,
// setNavigationBarTintColor:, tableViewCellSeparatorColor,
// setTableViewCellSeparatorColor:, translucentNavigationBar,
// setTranslucentNavigationBar: (YES by default).
class HBAppearanceSettings : public runtime::NSObject {
public:
    using NSObject::NSObject;

    static void registerClass(device::Process&);

private:
    runtime::Ref<runtime::Object> m_tintColor;
    runtime::Ref<runtime::Object> m_navigationBarTintColor;
    runtime::Ref<runtime::Object> m_tableViewCellSeparatorColor;
    bool m_translucentNavigationBar { true };
};

} // namespace preferences
