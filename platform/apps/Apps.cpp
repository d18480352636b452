#include "platform/apps/Apps.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/contacts/Contacts.h"
#include "platform/device/DispatchQueueObject.h"
#include "platform/device/DistributedNotificationCenter.h"
#include "platform/device/NSTask.h"
#include "platform/foundation/Classes.h"
#include "platform/messages/MessagesApp.h"
#include "platform/network/Network.h"
#include "platform/preferences/Preferences.h"
#include "platform/preferences/SettingsApp.h"
#include "platform/springboard/SpringBoardApp.h"

namespace apps {

namespace {

    // The frameworks every app of the device links.
    void defineFrameworks(device::Process& process)
    {
        foundation::defineClasses(process.runtime());
        device::DistributedNotificationCenter::registerClass(process);
        network::defineClasses(process);
        contacts::defineClasses(process);
        device::DispatchQueueObject::registerClass(process);
        device::NSTask::registerClass(process);
        preferences::defineClasses(process);
    }

    device::AppDefinition withFrameworks(device::AppDefinition app)
    {
        app.defineClasses = [appClasses = std::move(app.defineClasses)](device::Process& process) {
            defineFrameworks(process);
            if (appClasses)
                appClasses(process);
        };
        return app;
    }

    // The executable names of the apps, and the daemon whose end restarts the home screen.
    constexpr std::pair<const char*, const char*> executables[] = {
        { "SpringBoard", homeScreen },
        { "MobileSMS", messagesApp },
        { "Preferences", settingsApp },
    };
    constexpr const char* homeScreenDaemon = "backboardd";

    device::CommandResult killall(device::Device& device, const std::vector<std::string>& names)
    {
        if (names.empty())
            return { 2, "usage: killall name ..." };
        device::CommandResult result;
        for (auto& name : names) {
            if (name == homeScreenDaemon) {
                device.terminate(homeScreen);
                device.launch(homeScreen);
                continue;
            }
            auto* match = std::find_if(std::begin(executables), std::end(executables),
                [&](auto& executable) { return name == executable.first; });
            if (match != std::end(executables) && device.process(match->second)) {
                device.terminate(match->second);
                continue;
            }
            result.status = 1;
            result.output += "No matching processes belonging to you were found: " + name + "\n";
        }
        return result;
    }

} // namespace

void defineApps(device::Device& device)
{
    device.defineApp(withFrameworks(springboard::appDefinition()));
    device.defineApp(withFrameworks(messages::appDefinition()));
    device.defineApp(withFrameworks(preferences::SettingsApp::appDefinition()));
    device.defineCommand(killallPath, &killall);
}

} // namespace apps
