#pragma once

#include "platform/preferences/HBAppearanceSettings.h"

namespace brixprefs {

// The look both kinds of page share: the product's red as the tint (a
// lighter pink-red in the dark style on systems from 13.0 on), no lines
// between cells, and a translucent navigation bar. Each answer is worked
// out when it is asked for.
class BRXAppearanceSettings : public preferences::HBAppearanceSettings {
public:
    using HBAppearanceSettings::HBAppearanceSettings;

    static void registerClass(device::Process&);
};

// Whether the system is 13.0 or later and its main screen in the dark style.
bool isDarkOnModernSystem(runtime::Runtime&);

} // namespace brixprefs
