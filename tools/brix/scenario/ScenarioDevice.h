#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/device/Device.h"

#include "tools/brix/TemporaryFolder.h"
#include "tools/brix/scenario/Scenario.h"
#include "tools/brix/scenario/WebServer.h"

namespace tools::scenario {

// The fresh device a scenario runs on: a temporary root with the built
// plug-ins installed as the tool's own device root has them (unless the
// scenario says Brix is absent), the system's apps defined, and the
// scenario's preferences, containers, files, address book and Messages
// conversations in place before anything starts. When the scenario answers
// the web, a throw-away certificate authority and a web server on 127.0.0.1
// are made first; the device's network leads the scenario's hosts there and
// its trust store holds the authority. The root is removed when the device goes.
class ScenarioDevice {
public:
    explicit ScenarioDevice(const Scenario&);
    ~ScenarioDevice();
    ScenarioDevice(const ScenarioDevice&) = delete;
    ScenarioDevice& operator=(const ScenarioDevice&) = delete;

    // Lays the device out, or fails saying what went wrong. Nothing
    // runs on the device before this succeeded.
    foundation::Result<void> prepare();

    device::Device& device() { return *m_device; }
    // The scenario's web server; nil without a web section.
    WebServer* webServer() const { return m_webServer.get(); }

private:
    foundation::Result<void> writePreferences();
    foundation::Result<void> writeContainers();
    foundation::Result<void> writeFile(const FileEntry&, const std::string& devicePath);
    foundation::Result<void> writeDatabase(const std::vector<std::string>& statements, const std::string& devicePath);
    foundation::Result<void> writeContacts();
    foundation::Result<void> startWebServer(device::Hardware&);
    foundation::Result<void> writeTrustStore();

    const Scenario* m_scenario;
    TemporaryFolder m_root;
    std::unique_ptr<CertificateAuthority> m_authority;
    std::unique_ptr<WebServer> m_webServer;
    std::unique_ptr<device::Device> m_device;
};

} // namespace tools::scenario
