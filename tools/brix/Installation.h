#pragma once

#include <filesystem>

namespace tools {

// Where the tool's own files are. An installed tool finds them beside its
// executable, so the installed tree can be moved:
//
//   bin/brix
//   lib/brix/        the platform library, Brix.so with Brix.plist,
//                    BrixPrefs.bundle with BrixPrefs.plist
//   share/brix/      Assets.bundle, demo/tour.json with demo/fixtures/,
//                    studio/ with the studio's session.json and page/
//
// A tool run from its build tree (no lib/brix beside its folder) uses the
// files of that build and the source tree's tour and studio.
struct Installation {
    std::filesystem::path pluginLibrary; // Brix.so; its loader filter Brix.plist lies beside it
    std::filesystem::path assetBundle;
    std::filesystem::path prefsBundle; // BrixPrefs.bundle; its entry BrixPrefs.plist lies beside it
    std::filesystem::path demoTour;
    // The studio's files: session.json (whose fixtures are the demo's) and
    // the page it serves, page/.
    std::filesystem::path studioFolder;

    // The layout below `prefix`, the folder that holds bin/, lib/ and share/.
    static Installation installedUnder(const std::filesystem::path& prefix);
    static Installation buildTree();
};

// The installation of the running program: installed relative to
// /proc/self/exe when lib/brix lies beside its folder, else the build tree.
const Installation& installation();

} // namespace tools
