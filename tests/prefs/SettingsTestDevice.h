#pragma once

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/preferences/Domain.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/SettingsApp.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"

#include "tests/support/BrixDevice.h"

namespace settingstest {

using foundation::Value;
using preferences::PSListController;
using preferences::PSSpecifier;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;
using runtime::send;

// A device with Brix and its settings bundle installed, the home screen
// running and the Settings app open on the bundle's first page.
class SettingsTestDevice {
public:
    static constexpr size_t maxTasks = 20000;

    explicit SettingsTestDevice(device::Hardware hardware = {}, std::map<std::string, Value> stored = {})
        : m_brix(hardware)
    {
        for (auto& [key, value] : stored)
            m_brix.storePreference(key, value);
        m_brix.launch("com.apple.springboard");
        m_settings = &m_brix.launch(preferences::SettingsApp::bundleIdentifier);
    }

    device::Device& device() { return m_brix.device(); }
    device::Process& settings() { return *m_settings; }
    runtime::Runtime& runtime() { return m_settings->runtime(); }
    preferences::SettingsApp& app() { return preferences::SettingsApp::of(*m_settings); }
    device::Process* home() { return device().process("com.apple.springboard"); }

    void advance(double seconds) { ASSERT_TRUE(device().scheduler().advance(seconds, maxTasks)); }
    void runDue() { ASSERT_TRUE(device().scheduler().runDue(maxTasks)); }

    // Opens the bundle's first page, as a tap on its entry does.
    PSListController* openRoot()
    {
        auto page = app().openEntry("Brix");
        EXPECT_TRUE(page.isOk()) << (page.isOk() ? "" : page.error().message);
        runDue();
        return page.isOk() ? dynamic_cast<PSListController*>(page.value().get()) : nullptr;
    }

    // The row of `page` with that title.
    static PSSpecifier* row(PSListController* page, const std::string& title)
    {
        if (!page)
            return nullptr;
        for (auto& group : page->groups()) {
            for (auto& specifier : group.rows) {
                if (specifier->name().isString() && specifier->name().string() == title)
                    return specifier.get();
            }
        }
        return nullptr;
    }

    // A tap on the row with that title; answers the page on top afterwards.
    PSListController* tap(PSListController* page, const std::string& title)
    {
        auto* specifier = row(page, title);
        EXPECT_NE(specifier, nullptr) << "no row " << title;
        if (!specifier)
            return nullptr;
        auto place = page->rowOf(specifier);
        page->table()->selectRow(place->first, place->second);
        runDue();
        return dynamic_cast<PSListController*>(app().topPage());
    }

    // A message's object result.
    static Ref<Object> object(Object* receiver, const char* selector)
    {
        return send<Ref<Object>>(receiver, Selector::named(selector));
    }

    // The bar the user sees: the one of the navigation controller around the pages.
    uikit::UINavigationBar* visibleBar() { return app().rootController()->navigationBar(); }

    size_t count(const std::string& type, const std::string& field = {}, const std::string& value = {})
    {
        size_t found = 0;
        for (auto& event : events(type)) {
            if (field.empty() || event.value(field, "") == value)
                ++found;
        }
        return found;
    }

    Value stored(const std::string& key) { return preferences::Domain(device(), "com.ostwyn.brixprefs").read()[key]; }

    std::vector<device::Trace::Event> events(const std::string& type) { return device().trace().eventsOfType(type); }

private:
    BrixDevice m_brix;
    device::Process* m_settings { nullptr };
};

} // namespace settingstest
