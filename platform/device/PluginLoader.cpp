#include "platform/device/PluginLoader.h"

#include <algorithm>
#include <dlfcn.h>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/device/Device.h"
#include "platform/foundation/PropertyList.h"

namespace device {

namespace {

    namespace fs = std::filesystem;

    // A filter is a few lines; anything far bigger is not one.
    constexpr std::uintmax_t maximumFilterSize = 1 << 20;

    PluginFilter filterFrom(const foundation::Value& root)
    {
        PluginFilter filter;
        if (!root.isDictionary()) {
            filter.error = "filter is not a property-list dictionary";
            return filter;
        }
        const auto& dictionary = root["Filter"];
        if (!dictionary.isDictionary()) {
            filter.error = "filter has no Filter dictionary";
            return filter;
        }
        const auto& bundles = dictionary["Bundles"];
        if (!bundles.isArray()) {
            filter.error = "Filter has no Bundles array";
            return filter;
        }
        for (auto& item : bundles.items()) {
            if (!item.isString()) {
                filter.error = "Filter.Bundles holds something other than strings";
                filter.bundles.clear();
                return filter;
            }
            filter.bundles.push_back(item.string());
        }
        return filter;
    }

    std::vector<fs::path> librariesIn(const fs::path& folder)
    {
        std::vector<fs::path> result;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const fs::path& path = it->path();
            if (path.extension() == ".so" && it->is_regular_file(error))
                result.push_back(path);
        }
        std::sort(result.begin(), result.end());
        return result;
    }

} // namespace

bool PluginFilter::names(const std::string& bundleIdentifier) const
{
    return std::find(bundles.begin(), bundles.end(), bundleIdentifier) != bundles.end();
}

PluginFilter PluginLoader::readFilter(const fs::path& path)
{
    PluginFilter filter;
    std::error_code error;
    auto size = fs::file_size(path, error);
    if (error) {
        filter.error = "filter cannot be read: " + error.message();
        return filter;
    }
    if (size > maximumFilterSize) {
        filter.error = "filter is too large to be a property list of this kind";
        return filter;
    }
    std::ifstream stream(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (!stream && !stream.eof()) {
        filter.error = "filter cannot be read";
        return filter;
    }
    auto root = foundation::parsePropertyList({ reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() });
    if (!root) {
        filter.error = "filter is not a property list: " + root.error().message;
        return filter;
    }
    return filterFrom(root.value());
}

PluginLoader::PluginLoader(Device& device)
    : m_device(device)
{
}

std::vector<PluginError> PluginLoader::loadInto(Process& process)
{
    std::vector<PluginError> errors;
    for (auto& library : librariesIn(m_device.hostPath(folder))) {
        auto error = loadOne(process, library);
        if (!error)
            continue;
        m_device.trace().emit("plugin.error",
            { { "bundleId", process.bundleIdentifier() }, { "path", error->path }, { "message", error->message } });
        errors.push_back(std::move(*error));
    }
    return errors;
}

std::optional<PluginError> PluginLoader::loadOne(Process& process, const fs::path& library)
{
    std::string devicePath = std::string(folder) + "/" + library.filename().string();
    auto filterPath = fs::path(library).replace_extension(".plist");
    std::error_code error;
    if (!fs::exists(filterPath, error))
        return std::nullopt; // a library without a filter is loaded nowhere
    auto filter = readFilter(filterPath);
    if (!filter.error.empty())
        return PluginError { std::string(folder) + "/" + filterPath.filename().string(), filter.error };
    if (!filter.names(process.bundleIdentifier()))
        return std::nullopt;

    // Never closed: the library's code backs method implementations for as
    // long as the program runs.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        return PluginError { devicePath, std::string("cannot be loaded: ") + (message ? message : "unknown error") };
    }
    auto entryPoint = reinterpret_cast<PluginEntryPoint>(dlsym(handle, entryPointName));
    if (!entryPoint)
        return PluginError { devicePath, std::string("has no entry point ") + entryPointName };
    try {
        entryPoint(process);
    } catch (const std::exception& exception) {
        return PluginError { devicePath, std::string("entry point failed: ") + exception.what() };
    } catch (...) {
        return PluginError { devicePath, "entry point failed" };
    }
    process.addLoadedPlugin(devicePath);
    return std::nullopt;
}

} // namespace device
