#pragma once

#include "platform/preferences/PSListController.h"

namespace preferences {

// A settings page with an appearance object (`hb_setAppearanceSettings:`):
// each time it appears it gives its controls the appearance's tint, its
// table the appearance's separator colour, and its navigation controller's
// bar the navigation-bar tint (the tint when there is none) and the
// appearance's translucency. Without an appearance object it looks as a
// plain page does.
//
// Messages: hb_appearanceSettings, hb_setAppearanceSettings:.
class HBListController : public PSListController {
public:
    using PSListController::PSListController;

    runtime::Object* appearanceSettings() const { return m_appearanceSettings.get(); }

    static void registerClass(device::Process&);

private:
    void applyAppearance();

    runtime::Ref<runtime::Object> m_appearanceSettings;
};

} // namespace preferences
