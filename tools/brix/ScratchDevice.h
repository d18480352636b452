#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>

#include "platform/device/Device.h"

#include "tools/brix/TemporaryFolder.h"

namespace tools {

// A device on a temporary root that starts as a copy of another device's
// plug-ins and preferences, and is removed again when it goes.
class ScratchDevice {
public:
    ScratchDevice(const std::filesystem::path& source, device::Hardware);
    ~ScratchDevice();

    device::Device& device() { return *m_device; }
    // Prints the plug-ins that could not be loaded.
    void reportPluginErrors(std::ostream&) const;

private:
    TemporaryFolder m_root;
    std::unique_ptr<device::Device> m_device;
};

} // namespace tools
