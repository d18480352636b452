#include "tools/brix/DeviceRoot.h"

#include <cstdlib>

namespace tools {

namespace fs = std::filesystem;

namespace {

    constexpr const char* pluginFolder = "Library/MobileSubstrate/DynamicLibraries";
    constexpr const char* assetBundleFolder = "Library/Application Support/Brix/Assets.bundle";
    constexpr const char* preferenceBundlesFolder = "Library/PreferenceBundles";
    constexpr const char* preferenceEntriesFolder = "Library/PreferenceLoader/Preferences";

    // The plug-ins of this build: each library with its loader filter beside it.
    const char* const builtPlugins[] = { BRIX_PLUGIN_PATH };

    std::optional<std::string> installIfNewer(const fs::path& source, const fs::path& folder)
    {
        std::error_code error;
        auto target = folder / source.filename();
        if (fs::exists(target, error) && fs::last_write_time(target, error) >= fs::last_write_time(source, error)
            && fs::file_size(target, error) == fs::file_size(source, error))
            return std::nullopt;
        // Copy beside the target, then rename, so a running program never sees half a library.
        auto temporary = target;
        temporary += ".new";
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
        if (!error)
            fs::rename(temporary, target, error);
        if (error)
            return "cannot install " + source.string() + " into " + folder.string() + ": " + error.message();
        return std::nullopt;
    }

    // A bundle folder, copied file by file whenever the build is newer.
    std::optional<std::string> installFolder(const fs::path& source, const fs::path& target)
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
            if (auto failure = installIfNewer(it->path(), folder))
                return failure;
        }
        if (error)
            return "cannot install " + source.string() + " into " + target.string() + ": " + error.message();
        return std::nullopt;
    }

    // The asset bundle built beside Brix.
    std::optional<std::string> installAssetBundle(const fs::path& library, const fs::path& root)
    {
        std::error_code error;
        auto source = library.parent_path() / "Assets.bundle";
        if (!fs::is_directory(source, error))
            return "the asset bundle " + source.string() + " has not been built";
        return installFolder(source, root / assetBundleFolder);
    }

    // The settings bundle, and its entry for the Settings app beside it in the build.
    std::optional<std::string> installPreferenceBundle(const fs::path& root)
    {
        std::error_code error;
        fs::path bundle(BRIX_PREFS_BUNDLE_PATH);
        if (!fs::is_directory(bundle, error))
            return "the settings bundle " + bundle.string() + " has not been built";
        if (auto failure = installFolder(bundle, root / preferenceBundlesFolder / bundle.filename()))
            return failure;
        auto entries = root / preferenceEntriesFolder;
        fs::create_directories(entries, error);
        if (error)
            return "cannot create " + entries.string() + ": " + error.message();
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

std::optional<std::string> prepareDeviceRoot(const fs::path& root)
{
    std::error_code error;
    auto folder = root / pluginFolder;
    fs::create_directories(folder, error);
    if (error)
        return "cannot create the device root " + root.string() + ": " + error.message();
    for (const char* plugin : builtPlugins) {
        fs::path library(plugin);
        if (!fs::exists(library, error))
            return "the plug-in " + library.string() + " has not been built";
        for (auto source : { library, fs::path(library).replace_extension(".plist") }) {
            if (auto failure = installIfNewer(source, folder))
                return failure;
        }
    }
    if (auto failure = installAssetBundle(fs::path(builtPlugins[0]), root))
        return failure;
    return installPreferenceBundle(root);
}

} // namespace tools
