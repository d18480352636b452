#include "platform/apps/Apps.h"

#include "platform/contacts/Contacts.h"
#include "platform/device/DistributedNotificationCenter.h"
#include "platform/foundation/Classes.h"
#include "platform/messages/MessagesApp.h"
#include "platform/network/Network.h"
#include "platform/preferences/Preferences.h"
#include "platform/springboard/SpringBoardApp.h"

namespace apps {

namespace {

    // The frameworks every app of the device links.
    void defineFrameworks(device::Process& process)
    {
        foundation::defineClasses(process.runtime());
        device::defineDistributedClasses(process);
        network::defineClasses(process);
        contacts::defineClasses(process);
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

} // namespace

void defineApps(device::Device& device)
{
    device.defineApp(withFrameworks(springboard::appDefinition()));
    device.defineApp(withFrameworks(messages::appDefinition()));
}

} // namespace apps
