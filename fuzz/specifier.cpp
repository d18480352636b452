// Specifier files of settings bundles: a property list made into the rows of
// a page by the Settings app's reader, with its labels translated through a
// strings table of the bundle.

#include <filesystem>
#include <fstream>
#include <span>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/SettingsApp.h"
#include "platform/preferences/SpecifierFile.h"
#include "platform/runtime/Send.h"

#include "fuzz/FuzzCheck.h"
#include "tests/support/TempDirectory.h"

namespace {

constexpr const char* bundleFolder = "/Library/PreferenceBundles/Fuzz.bundle";

// The Settings app of a device with one settings bundle that translates a few labels.
struct Settings {
    Settings()
        : device(root.path())
    {
        apps::defineApps(device);
        auto strings = device.hostPath(std::string(bundleFolder) + "/en.lproj/Root.strings");
        std::filesystem::create_directories(strings.parent_path());
        std::ofstream(strings) << "\"Title\" = \"Titre\";\n\"On\" = \"Allumé\";\n\"Note\" = \"Remarque\";\n";
        process = &device.launch(preferences::SettingsApp::bundleIdentifier);
        auto made = runtime::send<runtime::Ref<runtime::Object>>(
            process->runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), foundation::Value(bundleFolder));
        bundle = runtime::Ref<foundation::Bundle>(dynamic_cast<foundation::Bundle*>(made.get()));
    }

    TempDirectory root;
    device::Device device;
    device::Process* process { nullptr };
    runtime::Ref<foundation::Bundle> bundle;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Settings* settings = new Settings;
    FUZZ_CHECK(settings->bundle, "the settings bundle opens");
    auto file = foundation::parsePropertyList(std::span(data, size));
    if (!file.isOk())
        return 0;
    auto page = preferences::SpecifierFile::fromValue(
        settings->process->runtime(), file.value(), settings->bundle.get(), "Root", nullptr);
    if (!page.isOk()) {
        FUZZ_CHECK(!page.error().message.empty(), "a refusal says why");
        return 0;
    }
    for (auto& specifier : page->specifiers)
        FUZZ_CHECK(specifier, "every row made is a specifier");
    return 0;
}
