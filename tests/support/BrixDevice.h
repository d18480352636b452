#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/preferences/Domain.h"

#include "tests/support/TempDirectory.h"

// A device on a temporary root with the system's apps defined and, unless
// asked otherwise, the built Brix plug-in installed as a user would install it
// (and, in test programs that know where it is built, the settings bundle).
class BrixDevice {
public:
    enum class Plugin { Installed, Absent };

    explicit BrixDevice(device::Hardware hardware = {}, Plugin plugin = Plugin::Installed)
    {
        if (plugin == Plugin::Installed)
            installPlugin();
        m_device = std::make_unique<device::Device>(m_root.path(), hardware);
        apps::defineApps(*m_device);
    }

    device::Device& device() { return *m_device; }
    const std::filesystem::path& root() const { return m_root.path(); }

    // Stores preference values before any process starts.
    void storePreference(const std::string& key, const foundation::Value& value)
    {
        preferences::Domain domain(*m_device, "com.ostwyn.brixprefs");
        auto stored = domain.set(key, value);
        if (!stored)
            throw std::runtime_error(stored.error().message);
    }

    device::Process& launch(const std::string& bundleIdentifier) { return m_device->launch(bundleIdentifier); }

private:
    // From where the build put them (the program's BrixDevice.cpp knows).
    void installPlugin();

    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
};
