#pragma once

#include <string>

#include "platform/device/Forward.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// The `inspect` event of one notification's controller in the home screen:
// the controller's Brix flags (its stored properties, asked through the run
// time), the class-wide hold flag and the state of its banner as the
// banner's own selectors and instance variables answer it, laid out first
// as it would be for drawing. Missing pieces (no controller, no Brix, no
// banner, no such label or button) are null.
class Inspector {
public:
    explicit Inspector(device::Process* homeScreen);

    Json inspect(const std::string& id) const;

private:
    Json controllerState(runtime::Object* controller) const;
    Json holdFlag() const;
    Json bannerState(runtime::Object* banner) const;

    device::Process* m_process;
};

} // namespace tools::scenario
