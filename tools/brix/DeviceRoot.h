#pragma once

#include <filesystem>

#include "platform/foundation/Result.h"

namespace tools {

// The device root a command works on: --device, else
// $XDG_DATA_HOME/brix/device (~/.local/share/brix/device).
std::filesystem::path defaultDeviceRoot();

// Creates the device root if needed and installs the built plug-ins and the
// settings bundle into it (again whenever the build is newer).
foundation::Result<void> prepareDeviceRoot(const std::filesystem::path& root);

} // namespace tools
