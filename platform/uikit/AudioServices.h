#pragma once

#include <cstdint>

#include "platform/device/Forward.h"

namespace uikit {

// The system sounds of the device (the platform's AudioToolbox functions),
// played for the process that asks. Each play is traced as `feedback` of
// kind "systemSound" or "alertSound" with the sound's identifier as value;
// an alert sound also vibrates where the device can.
using SystemSoundID = uint32_t;

void AudioServicesPlaySystemSound(device::Process&, SystemSoundID);
void AudioServicesPlayAlertSound(device::Process&, SystemSoundID);

} // namespace uikit
