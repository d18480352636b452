#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "platform/device/Device.h"
#include "platform/preferences/Domain.h"

#include "tools/brix/Commands.h"
#include "tools/brix/DeviceRoot.h"
#include "tools/brix/PreferenceValues.h"

namespace tools {

using foundation::Value;

namespace {

    struct PrefsOptions {
        std::string device;
        std::string key;
        std::string value;
        bool json { false };
    };

    std::string defaultText(const brix::SettingKey& key)
    {
        if (key.type == brix::SettingKey::Type::Boolean)
            return key.defaultValue ? "YES" : "NO";
        return std::to_string(key.defaultValue);
    }

    const brix::SettingKey& requireKey(const std::string& name)
    {
        auto* key = findSettingKey(name);
        if (!key)
            failUsage("unknown preference key '" + name + "' (see: brix prefs list)");
        return *key;
    }

    class PrefsSession {
    public:
        explicit PrefsSession(const std::string& deviceOption)
        {
            auto root = deviceOption.empty() ? defaultDeviceRoot() : std::filesystem::path(deviceOption);
            if (auto prepared = prepareDeviceRoot(root); !prepared)
                failUsage(prepared.error().message);
            m_device = std::make_unique<device::Device>(root);
            m_domain = std::make_unique<preferences::Domain>(*m_device, std::string(brix::preferenceDomain));
        }
        preferences::Domain& domain() { return *m_domain; }

    private:
        std::unique_ptr<device::Device> m_device;
        std::unique_ptr<preferences::Domain> m_domain;
    };

    nlohmann::ordered_json jsonValue(const brix::SettingKey& key, int64_t value)
    {
        if (key.type == brix::SettingKey::Type::Boolean)
            return value != 0;
        return value;
    }

    // The stored value as JSON: null when nothing is stored, a string
    // describing a value of the wrong type.
    nlohmann::ordered_json jsonStored(const brix::SettingKey& key, const foundation::Value& stored)
    {
        if (stored.isNil())
            return nullptr;
        if (!stored.isNumber())
            return foundation::describe(stored);
        return jsonValue(key, key.type == brix::SettingKey::Type::Boolean ? stored.boolean() : stored.integer());
    }

    void listJson(PrefsSession& session)
    {
        auto stored = session.domain().read();
        auto list = nlohmann::ordered_json::array();
        for (auto& key : brix::settingKeys) {
            const auto& value = stored[key.key];
            auto reads = value.isNumber() ? jsonStored(key, value) : jsonValue(key, key.defaultValue);
            list.push_back(
                { { "key", key.key }, { "type", typeName(key) }, { "default", jsonValue(key, key.defaultValue) },
                    { "stored", jsonStored(key, value) }, { "value", reads } });
        }
        std::cout << list.dump(2) << "\n";
    }

    void list(PrefsSession& session)
    {
        auto stored = session.domain().read();
        std::cout << std::left << std::setw(24) << "KEY" << std::setw(11) << "TYPE" << std::setw(9) << "DEFAULT"
                  << "STORED\n";
        for (auto& key : brix::settingKeys) {
            std::cout << std::setw(24) << key.key << std::setw(11) << typeName(key) << std::setw(9) << defaultText(key)
                      << formatSettingValue(key, stored[key.key]) << "\n";
        }
    }

    void get(PrefsSession& session, const std::string& name)
    {
        auto& key = requireKey(name);
        // A copy: the dictionary read() answers lives only until the end of this statement.
        Value stored = session.domain().read()[name];
        // The value the settings read: the stored one when usable, else the default.
        std::cout << (stored.isNumber() ? formatSettingValue(key, stored) : defaultText(key)) << "\n";
    }

    void set(PrefsSession& session, const std::string& name, const std::string& text)
    {
        auto& key = requireKey(name);
        auto value = parseSettingValue(key, text);
        if (!value)
            failUsage("'" + text + "' is not a " + typeName(key) + " value for " + name);
        if (auto stored = session.domain().set(name, *value); !stored) {
            auto failure = stored.error().message;
            if (failure.find(", which cannot be read") != std::string::npos)
                failure += " (brix prefs reset moves the file aside and starts afresh)";
            failUsage(failure);
        }
    }

    void reset(PrefsSession& session)
    {
        std::filesystem::path movedAside;
        if (auto removed = session.domain().removeAll(movedAside); !removed)
            failUsage(removed.error().message);
        if (!movedAside.empty())
            std::cerr << "brix: " << session.domain().hostPath().string()
                      << " could not be read; it was moved aside to " << movedAside.string() << "\n";
    }

} // namespace

void addPrefsCommand(CLI::App& app)
{
    auto options = std::make_shared<PrefsOptions>();
    auto* command = app.add_subcommand("prefs", "Read and write the preference domain of a device");
    command->add_option("--device", options->device, "device root (default: ~/.local/share/brix/device)");
    command->require_subcommand(1);
    command->footer("Examples:\n"
                    "  brix prefs list --json\n"
                    "  brix prefs set timeToDismiss 3\n"
                    "  brix prefs get timeToDismiss\n"
                    "  brix prefs reset\n"
                    "Exit status: 0 when done, 2 for an unknown key, a bad value or an unusable device root.");

    auto* listCommand = command->add_subcommand("list", "every key with its type, default and stored value");
    listCommand->add_flag(
        "--json", options->json, "print a JSON array: key, type, default, stored (null when none), value");
    listCommand->callback([options] {
        PrefsSession session(options->device);
        if (options->json)
            listJson(session);
        else
            list(session);
    });
    auto* getCommand = command->add_subcommand("get", "the value a key reads as");
    getCommand->add_option("KEY", options->key)->required();
    getCommand->callback([options] {
        PrefsSession session(options->device);
        get(session, options->key);
    });
    auto* setCommand = command->add_subcommand("set", "store a value");
    setCommand->add_option("KEY", options->key)->required();
    setCommand->add_option("VALUE", options->value)->required();
    setCommand->callback([options] {
        PrefsSession session(options->device);
        set(session, options->key, options->value);
    });
    command->add_subcommand("reset", "remove every stored value")->callback([options] {
        PrefsSession session(options->device);
        reset(session);
    });
}

void failUsage(const std::string& message)
{
    std::cerr << "brix: " << message << "\n";
    throw CLI::RuntimeError(2);
}

} // namespace tools
