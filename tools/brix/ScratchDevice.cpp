#include "tools/brix/ScratchDevice.h"

#include <ostream>
#include <random>

namespace tools {

namespace fs = std::filesystem;

namespace {

fs::path uniqueTemporaryFolder()
{
    std::random_device random;
    auto base = fs::temp_directory_path();
    while (true) {
        auto candidate = base / ("brix-device-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error))
            return candidate;
        if (error && !fs::exists(candidate))
            throw fs::filesystem_error("cannot create a temporary device", candidate, error);
    }
}

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
    : m_root(uniqueTemporaryFolder())
{
    copyIfExists(source / "Library/MobileSubstrate", m_root / "Library/MobileSubstrate");
    copyIfExists(source / "private/var/mobile/Library/Preferences", m_root / "private/var/mobile/Library/Preferences");
    m_device = std::make_unique<device::Device>(m_root, hardware);
}

ScratchDevice::~ScratchDevice()
{
    m_device.reset();
    std::error_code error;
    fs::remove_all(m_root, error);
}

void ScratchDevice::reportPluginErrors(std::ostream& out) const
{
    for (auto& event : m_device->trace().eventsOfType("plugin.error"))
        out << "brix: plug-in " << event.value("path", "") << " was not loaded: " << event.value("message", "") << "\n";
}

} // namespace tools
