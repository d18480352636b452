#pragma once

#include "platform/device/Device.h"

namespace springboard {

inline constexpr const char* bundleIdentifier = "com.apple.springboard";

// Defines the home screen's classes (UIKit's among them) in the process's run time.
void defineClasses(device::Process&);

// The home screen's start-up: the application object, the bulletin server,
// the status-bar window, the home screen in its window, the lock-screen
// manager, the banner window and the grabber tongue. Bulletins published for
// the banner destination are presented as banners. Each is made through
// the run time, so hooks installed beforehand see it; the process keeps
// them alive and SpringBoardState lists them.
void startUp(device::Process&);

device::AppDefinition appDefinition();

} // namespace springboard
