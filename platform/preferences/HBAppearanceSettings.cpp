#include "platform/preferences/HBAppearanceSettings.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace preferences {

void HBAppearanceSettings::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<HBAppearanceSettings>(process.runtime(), "HBAppearanceSettings", "NSObject")
        .property("tintColor", "setTintColor:", &HBAppearanceSettings::m_tintColor)
        .property(
            "navigationBarTintColor", "setNavigationBarTintColor:", &HBAppearanceSettings::m_navigationBarTintColor)
        .property("tableViewCellSeparatorColor",
            "setTableViewCellSeparatorColor:", &HBAppearanceSettings::m_tableViewCellSeparatorColor)
        .property("translucentNavigationBar",
            "setTranslucentNavigationBar:", &HBAppearanceSettings::m_translucentNavigationBar);
}

} // namespace preferences
