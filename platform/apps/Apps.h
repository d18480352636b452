#pragma once

#include "platform/device/Device.h"

namespace apps {

inline constexpr const char* homeScreen = "com.apple.springboard";
inline constexpr const char* messagesApp = "com.apple.MobileSMS";

// Teaches a device how to build the system's apps: the frameworks every app
// links (Foundation, the distributed notification center, the preference
// library, UIKit) and each app's own classes and start-up.
void defineApps(device::Device&);

} // namespace apps
