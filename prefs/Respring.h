#pragma once

#include "platform/runtime/Runtime.h"

namespace brixprefs {

// Restarts the home screen: launches "/usr/bin/killall backboardd" and
// neither waits for it nor looks at how it went.
void launchRespring(runtime::Runtime&);

// The settings bundle's folder on the device.
inline constexpr const char* bundlePath = "/Library/PreferenceBundles/BrixPrefs.bundle";

} // namespace brixprefs
