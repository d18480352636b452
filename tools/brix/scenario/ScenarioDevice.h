#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/device/Device.h"

#include "tools/brix/TemporaryFolder.h"
#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// The fresh device a scenario runs on: a temporary root with the built
// plug-ins installed as the tool's own device root has them (unless the
// scenario says Brix is absent), the system's apps defined, and the
// scenario's preferences, containers, files and Messages conversations in
// place before anything starts. The root is removed when the device goes.
class ScenarioDevice {
public:
    explicit ScenarioDevice(const Scenario&);
    ~ScenarioDevice();
    ScenarioDevice(const ScenarioDevice&) = delete;
    ScenarioDevice& operator=(const ScenarioDevice&) = delete;

    // Lays the device out; answers what went wrong, if anything. Nothing
    // runs on the device before this succeeded.
    std::optional<std::string> prepare();

    device::Device& device() { return *m_device; }

private:
    std::optional<std::string> writePreferences();
    std::optional<std::string> writeContainers();
    std::optional<std::string> writeFile(const FileEntry&, const std::string& devicePath);

    const Scenario* m_scenario;
    TemporaryFolder m_root;
    std::unique_ptr<device::Device> m_device;
};

} // namespace tools::scenario
