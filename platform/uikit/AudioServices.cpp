#include "platform/uikit/AudioServices.h"

#include "platform/device/Device.h"

namespace uikit {

void AudioServicesPlaySystemSound(device::Process& process, SystemSoundID sound)
{
    process.device().trace().emit("feedback", { { "kind", "systemSound" }, { "value", sound } });
}

void AudioServicesPlayAlertSound(device::Process& process, SystemSoundID sound)
{
    process.device().trace().emit("feedback", { { "kind", "alertSound" }, { "value", sound } });
}

} // namespace uikit
