#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Result.h"

// The entry point of a settings bundle's library: it defines the bundle's
// classes in the process that loads it, as loading a bundle's code does on
// the platform.
//
//     DEVICE_PLUGIN_ENTRY void device_bundle_load(device::Process& process);

namespace preferences {

// Finds the settings bundles installed on the device and loads their code
// into the Settings app (a per-process service).
//
// An installed bundle has an entry, a property list in `entriesFolder`:
//
//     { entry = { bundle = BrixPrefs; cell = PSLinkCell; label = Brix;
//                 detail = BRXRootListController; icon = icon.png; }; }
//
// naming the bundle folder `bundlesFolder`/<bundle>.bundle, whose Info.plist
// names its library (CFBundleExecutable) inside the folder.
class PreferenceBundleLoader {
public:
    static constexpr const char* bundlesFolder = "/Library/PreferenceBundles";
    static constexpr const char* entriesFolder = "/Library/PreferenceLoader/Preferences";
    static constexpr const char* entryPointName = "device_bundle_load";

    struct Entry {
        std::string label;
        std::string bundle;
        // The class of the bundle's first page.
        std::string detail;
        std::string icon;
    };

    explicit PreferenceBundleLoader(device::Process&);
    static PreferenceBundleLoader& of(device::Process&);

    // The entries, in the order of their file names. A file that is not a
    // readable entry is left out and traced as `bundle.error`.
    std::vector<Entry> entries() const;

    // Loads the bundle named `bundle` once per process: its library runs its
    // entry point, which defines its classes here. Answers the bundle, or
    // the reason it could not be loaded (also traced as `bundle.error`).
    foundation::Result<runtime::Ref<foundation::Bundle>> load(const std::string& bundle);

private:
    foundation::Result<runtime::Ref<foundation::Bundle>> open(const std::string& bundle);
    foundation::Error report(const std::string& path, const std::string& message) const;

    device::Process* m_process;
    std::map<std::string, runtime::Ref<foundation::Bundle>> m_loaded;
};

} // namespace preferences
