#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "platform/apps/Apps.h"
#include "platform/preferences/Domain.h"

#include "tools/brix/Commands.h"
#include "tools/brix/DeviceRoot.h"
#include "tools/brix/PreferenceValues.h"
#include "tools/brix/ScratchDevice.h"

namespace tools {

namespace {

    struct HooksOptions {
        std::string process { "com.apple.springboard" };
        std::string systemVersion { "14.4" };
        std::vector<std::string> settings;
        bool json { false };
        std::string device;
    };

    void storeSetting(preferences::Domain& domain, const std::string& assignment)
    {
        auto equals = assignment.find('=');
        if (equals == std::string::npos)
            failUsage("--set wants KEY=VALUE, not '" + assignment + "'");
        auto name = assignment.substr(0, equals);
        auto* key = findSettingKey(name);
        if (!key)
            failUsage("unknown preference key '" + name + "' (see: brix prefs list)");
        auto value = parseSettingValue(*key, assignment.substr(equals + 1));
        if (!value)
            failUsage("'" + assignment.substr(equals + 1) + "' is not a " + typeName(*key) + " value for " + name);
        if (auto stored = domain.set(name, *value); !stored)
            failUsage(stored.error().message);
    }

    void printChanges(const std::vector<runtime::Change>& changes, bool json)
    {
        if (json) {
            auto list = nlohmann::ordered_json::array();
            for (auto& change : changes) {
                list.push_back({ { "class", change.className },
                    { "selector", (change.classMethod ? "+" : "") + change.selector.name() },
                    { "kind", change.kind == runtime::ChangeKind::Replace ? "replace" : "add" },
                    { "types", change.types } });
            }
            std::cout << list.dump(2) << "\n";
            return;
        }
        int number = 0;
        for (auto& change : changes) {
            std::cout << ++number << " " << change.className << " " << (change.classMethod ? "+" : "")
                      << change.selector.name() << " "
                      << (change.kind == runtime::ChangeKind::Replace ? "replace" : "add") << "\n";
        }
    }

    void runHooks(const HooksOptions& options)
    {
        auto root = options.device.empty() ? defaultDeviceRoot() : std::filesystem::path(options.device);
        if (auto prepared = prepareDeviceRoot(root); !prepared)
            failUsage(prepared.error().message);

        // A throw-away copy of the device, so that --set never changes the device itself.
        device::Hardware hardware;
        hardware.systemVersion = options.systemVersion;
        ScratchDevice scratch(root, hardware);
        preferences::Domain domain(scratch.device(), std::string(brix::preferenceDomain));
        for (auto& assignment : options.settings)
            storeSetting(domain, assignment);

        apps::defineApps(scratch.device());
        auto& process = scratch.device().launch(options.process);
        scratch.reportPluginErrors(std::cerr);
        printChanges(process.runtime().changes(), options.json);
    }

} // namespace

void addHooksCommand(CLI::App& app)
{
    auto options = std::make_shared<HooksOptions>();
    auto* command = app.add_subcommand("hooks", "List what Brix changes in a freshly launched process");
    command->add_option("--process", options->process, "bundle identifier of the process")->capture_default_str();
    command->add_option("--system-version", options->systemVersion, "system version of the device")
        ->capture_default_str();
    command->add_option("--set", options->settings, "KEY=VALUE stored in the preference domain before launch");
    command->add_flag("--json", options->json, "print a JSON array with the type encodings");
    command->add_option("--device", options->device, "device root (default: ~/.local/share/brix/device)");
    command->footer("Examples:\n"
                    "  brix hooks                            the changes in the home screen\n"
                    "  brix hooks --process com.apple.MobileSMS --json\n"
                    "  brix hooks --set enabled=NO           none: a disabled Brix changes nothing\n"
                    "Exit status: 0 when the process was launched, 2 for bad options or an unusable device root.");
    command->callback([options] { runHooks(*options); });
}

} // namespace tools
