#pragma once

#include <functional>
#include <memory>

#include "platform/device/Device.h"
#include "platform/messages/MessagesApp.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/SpringBoardApp.h"

#include "tests/support/TempDirectory.h"

// A device on a temporary root that knows the home screen and the Messages
// app. `beforeStartUp` runs in each launched process once its classes exist
// and before its start-up, where a plug-in would be loaded.
class HomeScreenTestDevice {
public:
    explicit HomeScreenTestDevice(
        device::Hardware hardware = {}, std::function<void(device::Process&)> beforeStartUp = {})
        : m_device(std::make_unique<device::Device>(m_root.path(), hardware))
    {
        for (auto app : { springboard::appDefinition(), messages::appDefinition() }) {
            auto defineClasses = app.defineClasses;
            app.defineClasses = [defineClasses, beforeStartUp](device::Process& process) {
                defineClasses(process);
                if (beforeStartUp)
                    beforeStartUp(process);
            };
            m_device->defineApp(app);
        }
    }

    device::Device& device() { return *m_device; }
    device::Process& homeScreen() { return m_device->launch(springboard::bundleIdentifier); }
    device::Process& messagesApp() { return m_device->launch(messages::bundleIdentifier); }

private:
    TempDirectory m_root;
    std::unique_ptr<device::Device> m_device;
};

inline runtime::Ref<runtime::Object> makeObject(device::Process& process, std::string_view className)
{
    return runtime::newObject(process.runtime().classNamed(className));
}
