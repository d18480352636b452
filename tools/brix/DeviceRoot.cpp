#include "tools/brix/DeviceRoot.h"

#include <cstdlib>

#include "tools/brix/Installation.h"

namespace tools {

namespace fs = std::filesystem;

namespace {

    constexpr const char* pluginFolder = "Library/MobileSubstrate/DynamicLibraries";
    constexpr const char* assetBundleFolder = "Library/Application Support/Brix/Assets.bundle";
    constexpr const char* preferenceBundlesFolder = "Library/PreferenceBundles";
    constexpr const char* preferenceEntriesFolder = "Library/PreferenceLoader/Preferences";

    foundation::Result<void> installIfNewer(const fs::path& source, const fs::path& folder)
    {
        std::error_code error;
        auto target = folder / source.filename();
        if (fs::exists(target, error) && fs::last_write_time(target, error) >= fs::last_write_time(source, error)
            && fs::file_size(target, error) == fs::file_size(source, error))
            return {};
        // Copy beside the target, then rename, so a running program never sees half a library.
        auto temporary = target;
        temporary += ".new";
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
        if (!error)
            fs::rename(temporary, target, error);
        if (error)
            return foundation::Error { "cannot install " + source.string() + " into " + folder.string() + ": "
                + error.message() };
        return {};
    }

    // A bundle folder, copied file by file whenever the build is newer.
    foundation::Result<void> installFolder(const fs::path& source, const fs::path& target)
    {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(source, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (!it->is_regular_file(error))
                continue;
            auto folder = target / fs::relative(it->path(), source, error).parent_path();
            fs::create_directories(folder, error);
            if (error)
                break;
            if (auto done = installIfNewer(it->path(), folder); !done)
                return done;
        }
        if (error)
            return foundation::Error { "cannot install " + source.string() + " into " + target.string() + ": "
                + error.message() };
        return {};
    }

    foundation::Result<void> installAssetBundle(const fs::path& root)
    {
        std::error_code error;
        auto& source = installation().assetBundle;
        if (!fs::is_directory(source, error))
            return foundation::Error { "the asset bundle " + source.string() + " is missing" };
        return installFolder(source, root / assetBundleFolder);
    }

    // The settings bundle, and its entry for the Settings app beside it.
    foundation::Result<void> installPreferenceBundle(const fs::path& root)
    {
        std::error_code error;
        auto& bundle = installation().prefsBundle;
        if (!fs::is_directory(bundle, error))
            return foundation::Error { "the settings bundle " + bundle.string() + " is missing" };
        if (auto done = installFolder(bundle, root / preferenceBundlesFolder / bundle.filename()); !done)
            return done;
        auto entries = root / preferenceEntriesFolder;
        fs::create_directories(entries, error);
        if (error)
            return foundation::Error { "cannot create " + entries.string() + ": " + error.message() };
        return installIfNewer(fs::path(bundle).replace_extension(".plist"), entries);
    }

} // namespace

fs::path defaultDeviceRoot()
{
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome)
        return fs::path(dataHome) / "brix" / "device";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "brix" / "device";
    return fs::current_path() / "brix-device";
}

foundation::Result<void> prepareDeviceRoot(const fs::path& root)
{
    std::error_code error;
    auto folder = root / pluginFolder;
    fs::create_directories(folder, error);
    if (error)
        return foundation::Error { "cannot create the device root " + root.string() + ": " + error.message() };
    // The plug-in, with its loader filter beside it.
    auto& library = installation().pluginLibrary;
    if (!fs::exists(library, error))
        return foundation::Error { "the plug-in " + library.string() + " is missing" };
    for (auto source : { library, fs::path(library).replace_extension(".plist") }) {
        if (auto done = installIfNewer(source, folder); !done)
            return done;
    }
    if (auto done = installAssetBundle(root); !done)
        return done;
    return installPreferenceBundle(root);
}

} // namespace tools
