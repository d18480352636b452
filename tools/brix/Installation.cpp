#include "tools/brix/Installation.h"

#include <system_error>

namespace tools {

namespace fs = std::filesystem;

namespace {

    // The folder above the executable's own (bin/ in an installed tree).
    fs::path executablePrefix()
    {
        std::error_code error;
        auto executable = fs::read_symlink("/proc/self/exe", error);
        if (error)
            return {};
        return executable.parent_path().parent_path();
    }

    Installation locate()
    {
        auto prefix = executablePrefix();
        std::error_code error;
        if (!prefix.empty() && fs::is_directory(prefix / "lib" / "brix", error))
            return Installation::installedUnder(prefix);
        return Installation::buildTree();
    }

} // namespace

Installation Installation::installedUnder(const fs::path& prefix)
{
    auto lib = prefix / "lib" / "brix";
    auto share = prefix / "share" / "brix";
    return { lib / "Brix.so", share / "Assets.bundle", lib / "BrixPrefs.bundle", share / "demo" / "tour.json",
        share / "studio" };
}

Installation Installation::buildTree()
{
    fs::path plugin(BRIX_PLUGIN_PATH);
    return { plugin, plugin.parent_path() / "Assets.bundle", fs::path(BRIX_PREFS_BUNDLE_PATH), fs::path(BRIX_DEMO_TOUR),
        fs::path(BRIX_STUDIO_FOLDER) };
}

const Installation& installation()
{
    static const Installation found = locate();
    return found;
}

} // namespace tools
