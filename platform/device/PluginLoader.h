#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/Forward.h"

// The entry point of a plug-in. A plug-in is a shared library in
// /Library/MobileSubstrate/DynamicLibraries/ of the device, with a filter
// property list of the same base name beside it (Brix.so and Brix.plist):
//
//     { Filter = { Bundles = ( "com.apple.springboard", ... ); }; }
//
// When a process whose bundle identifier the filter lists starts, the loader
// opens the library (once for the whole program; it is never closed, since
// its code backs method implementations) and calls
//
//     DEVICE_PLUGIN_ENTRY void device_plugin_load(device::Process& process);
//
// once for that process, after the app's classes are defined and before its
// start-up runs. The entry point must keep whatever state it needs in the
// process (Process::service), never in globals, since the same library serves
// every process it is loaded into. DEVICE_PLUGIN_ENTRY exports the symbol even
// from a library built with hidden visibility.
#define DEVICE_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))

namespace device {

using PluginEntryPoint = void (*)(Process&);

struct PluginError {
    std::string path; // the device path of the library or its filter
    std::string message;
};

// What a filter property list says: the bundle identifiers it names.
struct PluginFilter {
    std::vector<std::string> bundles;
    std::string error; // set when the filter could not be read
    bool names(const std::string& bundleIdentifier) const;
};

class PluginLoader {
public:
    static constexpr const char* folder = "/Library/MobileSubstrate/DynamicLibraries";
    static constexpr const char* entryPointName = "device_plugin_load";

    explicit PluginLoader(Device&);

    // Loads into `process` every plug-in whose filter names it, in the order
    // of their file names. A library that cannot be opened, has no entry point
    // or throws from it, and a filter that cannot be read are reported (each
    // also traced as `plugin.error` with `bundleId`, `path` and `message`) and
    // skipped; the others still load.
    std::vector<PluginError> loadInto(Process&);

    // Reads a filter property list (XML or binary).
    static PluginFilter readFilter(const std::filesystem::path&);

private:
    std::optional<PluginError> loadOne(Process&, const std::filesystem::path& library);

    Device& m_device;
};

} // namespace device
