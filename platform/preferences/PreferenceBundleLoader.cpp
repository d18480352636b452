#include "platform/preferences/PreferenceBundleLoader.h"

#include <algorithm>
#include <dlfcn.h>
#include <exception>

#include "platform/device/Device.h"
#include "platform/device/PluginLoader.h"
#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Send.h"

namespace preferences {

namespace fs = std::filesystem;
using foundation::Error;
using foundation::Result;
using foundation::Value;
using runtime::Object;
using runtime::Ref;

namespace {

    bool isPlainName(const std::string& name)
    {
        return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
            && name.find('\0') == std::string::npos;
    }

    std::string stringOr(const Value& value)
    {
        return value.isString() ? value.string() : std::string();
    }

} // namespace

PreferenceBundleLoader::PreferenceBundleLoader(device::Process& process)
    : m_process(&process)
{
}

PreferenceBundleLoader& PreferenceBundleLoader::of(device::Process& process)
{
    return process.service<PreferenceBundleLoader>();
}

Error PreferenceBundleLoader::report(const std::string& path, const std::string& message) const
{
    m_process->device().trace().emit(
        "bundle.error", { { "bundleId", m_process->bundleIdentifier() }, { "path", path }, { "message", message } });
    return Error { path + ": " + message };
}

std::vector<PreferenceBundleLoader::Entry> PreferenceBundleLoader::entries() const
{
    std::vector<fs::path> files;
    std::error_code error;
    auto folder = m_process->device().hostPath(entriesFolder);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".plist")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Entry> result;
    for (auto& file : files) {
        std::string devicePath = std::string(entriesFolder) + "/" + file.filename().string();
        auto contents = foundation::loadPropertyList(file);
        if (!contents) {
            report(devicePath, "is not a property list: " + contents.error().message);
            continue;
        }
        const Value& entry = contents.value()["entry"];
        Entry parsed { stringOr(entry["label"]), stringOr(entry["bundle"]), stringOr(entry["detail"]),
            stringOr(entry["icon"]) };
        if (!entry.isDictionary() || parsed.label.empty() || parsed.bundle.empty()) {
            report(devicePath, "has no entry with a \"label\" and a \"bundle\"");
            continue;
        }
        result.push_back(std::move(parsed));
    }
    return result;
}

Result<Ref<foundation::Bundle>> PreferenceBundleLoader::load(const std::string& bundle)
{
    if (auto it = m_loaded.find(bundle); it != m_loaded.end())
        return it->second;
    auto opened = open(bundle);
    if (opened)
        m_loaded[bundle] = opened.value();
    return opened;
}

Result<Ref<foundation::Bundle>> PreferenceBundleLoader::open(const std::string& bundle)
{
    std::string devicePath = std::string(bundlesFolder) + "/" + bundle + ".bundle";
    if (!isPlainName(bundle))
        return report(devicePath, "\"" + bundle + "\" is not a bundle name");
    auto made = runtime::send<Ref<Object>>(
        m_process->runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), Value(devicePath));
    Ref<foundation::Bundle> opened(dynamic_cast<foundation::Bundle*>(made.get()));
    if (!opened)
        return report(devicePath, "no such bundle");
    auto info = foundation::loadPropertyList(m_process->device().hostPath(devicePath + "/Info.plist"));
    if (!info)
        return report(devicePath, "its Info.plist cannot be read: " + info.error().message);
    std::string executable = stringOr(info.value()["CFBundleExecutable"]);
    if (!isPlainName(executable))
        return report(devicePath, "its Info.plist names no library (CFBundleExecutable)");
    auto library = m_process->device().hostPath(devicePath + "/" + executable);
    // Never closed: the library's code backs method implementations for as long as the program runs.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        return report(
            devicePath, std::string("its library cannot be loaded: ") + (message ? message : "unknown error"));
    }
    auto entryPoint = reinterpret_cast<device::PluginEntryPoint>(dlsym(handle, entryPointName));
    if (!entryPoint)
        return report(devicePath, std::string("its library has no entry point ") + entryPointName);
    try {
        entryPoint(*m_process);
    } catch (const std::exception& failure) {
        return report(devicePath, std::string("its library failed to load: ") + failure.what());
    }
    return opened;
}

} // namespace preferences
