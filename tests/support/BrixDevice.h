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
    void installPlugin()
    {
        namespace fs = std::filesystem;
        auto folder = m_root.path() / "Library/MobileSubstrate/DynamicLibraries";
        fs::create_directories(folder);
        fs::path library(BRIX_PLUGIN_PATH);
        fs::copy_file(library, folder / library.filename());
        fs::copy_file(fs::path(library).replace_extension(".plist"), folder / "Brix.plist");
        // The asset bundle is built beside the library.
        auto assets = library.parent_path() / "Assets.bundle";
        if (fs::exists(assets)) {
            auto target = m_root.path() / "Library/Application Support/Brix/Assets.bundle";
            fs::create_directories(target);
            fs::copy(assets, target, fs::copy_options::recursive);
        }
#ifdef BRIX_PREFS_BUNDLE_PATH
        fs::path bundle(BRIX_PREFS_BUNDLE_PATH);
        auto bundles = m_root.path() / "Library/PreferenceBundles";
        auto entries = m_root.path() / "Library/PreferenceLoader/Preferences";
        fs::create_directories(bundles / bundle.filename());
        fs::create_directories(entries);
        fs::copy(bundle, bundles / bundle.filename(), fs::copy_options::recursive);
        fs::copy_file(fs::path(bundle).replace_extension(".plist"), entries / "BrixPrefs.plist");
#endif
    }

    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
};
