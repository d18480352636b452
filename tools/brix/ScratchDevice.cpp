#include "tools/brix/ScratchDevice.h"

#include <ostream>

namespace tools {

namespace fs = std::filesystem;

namespace {

    void copyIfExists(const fs::path& from, const fs::path& to)
    {
        std::error_code error;
        if (!fs::exists(from, error))
            return;
        fs::create_directories(to.parent_path(), error);
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    }

} // namespace

ScratchDevice::ScratchDevice(const fs::path& source, device::Hardware hardware)
    : m_root("brix-device-")
{
    copyIfExists(source / "Library/MobileSubstrate", m_root.path() / "Library/MobileSubstrate");
    copyIfExists(
        source / "private/var/mobile/Library/Preferences", m_root.path() / "private/var/mobile/Library/Preferences");
    m_device = std::make_unique<device::Device>(m_root.path(), hardware);
}

// The device goes before its root folder.
ScratchDevice::~ScratchDevice()
{
    m_device.reset();
}

void ScratchDevice::reportPluginErrors(std::ostream& out) const
{
    for (auto& event : m_device->trace().eventsOfType("plugin.error"))
        out << "brix: plug-in " << event.value("path", "") << " was not loaded: " << event.value("message", "") << "\n";
}

} // namespace tools
