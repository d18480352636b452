#include "platform/device/PluginLoader.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <plist/plist.h>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"

using namespace device;
namespace fs = std::filesystem;

namespace {

std::string xmlFilter(const std::vector<std::string>& bundles)
{
    std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict><key>Filter</key><dict><key>Bundles</key><array>)";
    for (auto& bundle : bundles)
        text += "<string>" + bundle + "</string>";
    return text + "</array></dict></dict></plist>\n";
}

std::string binaryFilter(const std::vector<std::string>& bundles)
{
    plist_t array = plist_new_array();
    for (auto& bundle : bundles)
        plist_array_append_item(array, plist_new_string(bundle.c_str()));
    plist_t filter = plist_new_dict();
    plist_dict_set_item(filter, "Bundles", array);
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "Filter", filter);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    std::string result(bytes, length);
    plist_to_bin_free(bytes);
    plist_free(root);
    return result;
}

void writeFile(const fs::path& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}

// A device whose apps each have a Greeter class answering 1, and whose
// start-up records what its greeting answers once the plug-ins have loaded.
class PluginDevice {
public:
    PluginDevice()
        : device(temp.path() / "root")
    {
        for (std::string id : { "com.apple.springboard", "com.apple.MobileSMS" }) {
            device.defineApp({ id,
                [](Process& process) {
                    auto& runtime = process.runtime();
                    auto& greeter = runtime.defineClass<runtime::NSObject>("Greeter", "NSObject");
                    runtime.define(greeter, SEL("greeting"),
                        runtime::Imp::of([](runtime::Object*, runtime::Selector) -> int64_t { return 1; }));
                },
                [this, id](Process& process) {
                    auto greeter = runtime::newObject(process.runtime().classNamed("Greeter"));
                    greetings[id] = runtime::send<int64_t>(greeter, SEL("greeting"));
                } });
        }
    }

    fs::path plugins() const { return device.hostPath(PluginLoader::folder); }
    void install(const std::string& name, const fs::path& library, const std::string& filter)
    {
        fs::copy_file(library, plugins() / (name + ".so"));
        writeFile(plugins() / (name + ".plist"), filter);
    }
    bool hasMarker(const std::string& id)
    {
        return device.process(id)->runtime().classNamed("TestPluginMarker") != nullptr;
    }
    std::map<std::string, std::string> errors() const
    {
        std::map<std::string, std::string> result;
        for (auto& event : device.trace().eventsOfType("plugin.error"))
            result[event["path"]] = event["message"];
        return result;
    }

    TempDirectory temp;
    Device device;
    std::map<std::string, int64_t> greetings;
};

} // namespace

TEST(PluginLoader, loadsOnlyIntoTheProcessesItsFilterNames)
{
    PluginDevice fixture;
    fixture.install("TestPlugin", DEVICE_TEST_PLUGIN, xmlFilter({ "com.apple.springboard" }));
    auto& device = fixture.device;
    Process& springboard = device.launch("com.apple.springboard");
    Process& messages = device.launch("com.apple.MobileSMS");

    EXPECT_TRUE(fixture.hasMarker("com.apple.springboard"));
    EXPECT_FALSE(fixture.hasMarker("com.apple.MobileSMS"));
    // The plug-in ran after the app's classes were defined and before its start-up.
    EXPECT_EQ(fixture.greetings["com.apple.springboard"], 42);
    EXPECT_EQ(fixture.greetings["com.apple.MobileSMS"], 1);
    EXPECT_EQ(springboard.loadedPlugins(),
        (std::vector<std::string> { "/Library/MobileSubstrate/DynamicLibraries/TestPlugin.so" }));
    EXPECT_TRUE(messages.loadedPlugins().empty());
    EXPECT_TRUE(device.trace().eventsOfType("plugin.error").empty());

    // A relaunch loads it again into the new run time.
    device.terminate("com.apple.springboard");
    device.launch("com.apple.springboard");
    EXPECT_TRUE(fixture.hasMarker("com.apple.springboard"));
    EXPECT_EQ(fixture.greetings["com.apple.springboard"], 42);
}

TEST(PluginLoader, readsBinaryFilters)
{
    PluginDevice fixture;
    fixture.install("TestPlugin", DEVICE_TEST_PLUGIN, binaryFilter({ "com.example.none", "com.apple.MobileSMS" }));
    fixture.device.launch("com.apple.springboard");
    fixture.device.launch("com.apple.MobileSMS");
    EXPECT_FALSE(fixture.hasMarker("com.apple.springboard"));
    EXPECT_TRUE(fixture.hasMarker("com.apple.MobileSMS"));

    auto filter = PluginLoader::readFilter(fixture.plugins() / "TestPlugin.plist");
    EXPECT_TRUE(filter.error.empty());
    EXPECT_EQ(filter.bundles, (std::vector<std::string> { "com.example.none", "com.apple.MobileSMS" }));
}

TEST(PluginLoader, reportsBrokenPluginsAndLoadsTheRest)
{
    PluginDevice fixture;
    auto plugins = fixture.plugins();
    auto names = xmlFilter({ "com.apple.springboard", "com.example.refuses" });
    // Not a library at all.
    writeFile(plugins / "A_Broken.so", "this is not a shared library");
    writeFile(plugins / "A_Broken.plist", names);
    // A filter that is not a property list, one without a Filter, and one with Bundles of the wrong kind.
    auto truncated = binaryFilter({ "com.apple.springboard" });
    fixture.install("B_BadFilter", DEVICE_TEST_PLUGIN_WITHOUT_ENTRY, truncated.substr(0, truncated.size() - 12));
    fixture.install("C_NoFilterKey", DEVICE_TEST_PLUGIN_WITHOUT_ENTRY,
        R"(<?xml version="1.0"?><plist version="1.0"><dict><key>Other</key><true/></dict></plist>)");
    writeFile(plugins / "D_WrongBundles.so", "");
    writeFile(plugins / "D_WrongBundles.plist",
        R"(<?xml version="1.0"?><plist version="1.0"><dict><key>Filter</key><dict><key>Bundles</key>)"
        R"(<string>com.apple.springboard</string></dict></dict></plist>)");
    // A library without the entry point.
    fixture.install("E_NoEntry", DEVICE_TEST_PLUGIN_WITHOUT_ENTRY, names);
    // A library without a filter is loaded nowhere, silently.
    fs::copy_file(DEVICE_TEST_PLUGIN_WITHOUT_ENTRY, plugins / "F_Unfiltered.so");
    // The good one comes last, after all the failures.
    fixture.install("Z_TestPlugin", DEVICE_TEST_PLUGIN, names);

    Process& springboard = fixture.device.launch("com.apple.springboard");
    EXPECT_TRUE(fixture.hasMarker("com.apple.springboard"));
    EXPECT_EQ(fixture.greetings["com.apple.springboard"], 42);
    EXPECT_EQ(springboard.loadedPlugins(),
        (std::vector<std::string> { "/Library/MobileSubstrate/DynamicLibraries/Z_TestPlugin.so" }));

    auto errors = fixture.errors();
    const std::string folder = "/Library/MobileSubstrate/DynamicLibraries/";
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_NE(errors[folder + "A_Broken.so"].find("cannot be loaded"), std::string::npos);
    EXPECT_EQ(errors[folder + "B_BadFilter.plist"].rfind("filter is not a property list: ", 0), 0u);
    EXPECT_EQ(errors[folder + "C_NoFilterKey.plist"], "filter has no Filter dictionary");
    EXPECT_EQ(errors[folder + "D_WrongBundles.plist"], "Filter has no Bundles array");
    EXPECT_EQ(errors[folder + "E_NoEntry.so"], "has no entry point device_plugin_load");
    for (auto& event : fixture.device.trace().eventsOfType("plugin.error"))
        EXPECT_EQ(event["bundleId"], "com.apple.springboard");
    // process.launched still follows.
    EXPECT_EQ(fixture.device.trace().eventsOfType("process.launched").size(), 1u);

    // An entry point that throws is reported too; the process, without a
    // definition of its own, still starts.
    Process& refusing = fixture.device.launch("com.example.refuses");
    EXPECT_TRUE(refusing.loadedPlugins().empty());
    auto events = fixture.device.trace().eventsOfType("plugin.error");
    EXPECT_EQ(events.back()["path"], folder + "Z_TestPlugin.so");
    EXPECT_EQ(events.back()["message"], "entry point failed: not in this process");
    EXPECT_EQ(fixture.device.trace().eventsOfType("process.launched").size(), 2u);
}

TEST(PluginLoader, filtersNameBundlesExactly)
{
    TempDirectory temp;
    auto path = temp.path() / "Filter.plist";
    writeFile(path, xmlFilter({ "com.apple.springboard" }));
    auto filter = PluginLoader::readFilter(path);
    EXPECT_TRUE(filter.names("com.apple.springboard"));
    EXPECT_FALSE(filter.names("com.apple.Springboard"));
    EXPECT_FALSE(filter.names("com.apple"));

    EXPECT_FALSE(PluginLoader::readFilter(temp.path() / "missing.plist").error.empty());
    writeFile(path, "");
    EXPECT_FALSE(PluginLoader::readFilter(path).error.empty());
    writeFile(path, "<plist><dict><key>Filter");
    EXPECT_EQ(PluginLoader::readFilter(path).error.rfind("filter is not a property list: ", 0), 0u);
    writeFile(path, R"(<?xml version="1.0"?><plist version="1.0"><array/></plist>)");
    EXPECT_EQ(PluginLoader::readFilter(path).error, "filter is not a property-list dictionary");
    writeFile(path,
        R"(<?xml version="1.0"?><plist version="1.0"><dict><key>Filter</key><dict><key>Bundles</key>)"
        R"(<array><string>ok</string><integer>3</integer></array></dict></dict></plist>)");
    filter = PluginLoader::readFilter(path);
    EXPECT_EQ(filter.error, "Filter.Bundles holds something other than strings");
    EXPECT_TRUE(filter.bundles.empty());
}
