#pragma once

#include "platform/device/Device.h"

namespace apps {

inline constexpr const char* homeScreen = "com.apple.springboard";
inline constexpr const char* messagesApp = "com.apple.MobileSMS";
inline constexpr const char* settingsApp = "com.apple.Preferences";
inline constexpr const char* killallPath = "/usr/bin/killall";

// Teaches a device how to build the system's apps: the frameworks every app
// links (Foundation, the distributed notification center, system commands,
// the preference library, UIKit) and each app's own classes and start-up;
// and installs the system's commands.
//
// "/usr/bin/killall NAME..." ends the processes with those names: an app's
// executable name ("SpringBoard", "MobileSMS", "Preferences") ends that app;
// "backboardd", the daemon the home screen runs on, restarts the home
// screen (a respring): it ends, running or not, and launches again. It
// exits with 1 and says so when no process has a name given, with 0 otherwise.
void defineApps(device::Device&);

} // namespace apps
