#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "platform/apps/Apps.h"
#include "platform/device/Device.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/Domain.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/SettingsApp.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UINavigationController.h"

#include "tests/support/TempDirectory.h"

namespace frameworktest {

using foundation::Value;
using preferences::PSListController;
using preferences::PSSpecifier;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

inline constexpr const char* testDomain = "com.example.settings";
inline constexpr const char* bundleFolder = "/Library/PreferenceBundles/Test.bundle";

// A device whose Settings app runs, and a settings bundle of files only
// (specifier files and strings tables, no code) to make pages from.
class SettingsFrameworkDevice {
public:
    static constexpr size_t maxTasks = 20000;

    SettingsFrameworkDevice()
        : m_device(m_root.path())
    {
        apps::defineApps(m_device);
        std::filesystem::create_directories(m_device.hostPath(bundleFolder));
    }

    device::Device& device() { return m_device; }
    device::Process& settings() { return m_device.launch(preferences::SettingsApp::bundleIdentifier); }
    runtime::Runtime& runtime() { return settings().runtime(); }
    preferences::SettingsApp& app() { return preferences::SettingsApp::of(settings()); }
    void runDue() { ASSERT_TRUE(m_device.scheduler().runDue(maxTasks)); }
    void advance(double seconds) { ASSERT_TRUE(m_device.scheduler().advance(seconds, maxTasks)); }

    // Writes a file of the device, making its folders.
    void writeText(const std::string& devicePath, const std::string& text)
    {
        auto path = m_device.hostPath(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    void writePlist(const std::string& devicePath, const Value& value)
    {
        auto path = m_device.hostPath(devicePath);
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(foundation::writePropertyList(path, value, foundation::PropertyListFormat::Xml));
    }
    // A specifier file of the test bundle with these rows.
    void writeSpecifierFile(const std::string& name, Value::Array items, const Value& title = {})
    {
        Value file = Value::dictionary();
        file.set("items", Value(std::move(items)));
        if (!title.isNil())
            file.set("title", title);
        writePlist(std::string(bundleFolder) + "/" + name + ".plist", file);
    }

    Ref<foundation::Bundle> bundle()
    {
        auto made = send<Ref<Object>>(runtime().classNamed("NSBundle"), SEL("bundleWithPath:"), Value(bundleFolder));
        return Ref<foundation::Bundle>(dynamic_cast<foundation::Bundle*>(made.get()));
    }

    // A page of `className` showing the specifier file `name`, pushed onto the app's pages.
    PSListController* openPage(const std::string& name, const char* className = "PSListController")
    {
        auto made = runtime::newObject(runtime().classNamed(className));
        auto* page = dynamic_cast<PSListController*>(made.get());
        if (!page)
            return nullptr;
        page->setBundle(bundle().get());
        Value rows = page->loadSpecifiersFromPlistName(name, page);
        send(page, SEL("setSpecifiers:"), rows);
        app().pages()->push(page, uikit::UIViewController::Transition::Immediate);
        runDue();
        return page;
    }

    Value stored(const std::string& key) { return preferences::Domain(m_device, testDomain).read()[key]; }
    std::vector<device::Trace::Event> events(const std::string& type) { return m_device.trace().eventsOfType(type); }

private:
    TempDirectory m_root;
    device::Device m_device;
};

// A row of a specifier file.
inline Value row(const char* cell, const char* label, Value::Dictionary more = {})
{
    more["cell"] = Value(cell);
    more["label"] = Value(label);
    return Value(std::move(more));
}

// A row that stores `key` in the test domain.
inline Value setting(
    const char* cell, const char* label, const char* key, Value defaultValue, Value::Dictionary more = {})
{
    more["key"] = Value(key);
    more["defaults"] = Value(testDomain);
    more["default"] = std::move(defaultValue);
    return row(cell, label, std::move(more));
}

inline PSSpecifier* rowTitled(PSListController* page, const std::string& title)
{
    for (auto& group : page->groups()) {
        for (auto& specifier : group.rows) {
            if (specifier->name().string() == title)
                return specifier.get();
        }
    }
    return nullptr;
}

} // namespace frameworktest
