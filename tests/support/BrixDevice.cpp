#include "tests/support/BrixDevice.h"

void BrixDevice::installPlugin()
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
