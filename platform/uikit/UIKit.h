#pragma once

#include "platform/device/Forward.h"

namespace uikit {

// Defines UIKit's classes in the process's run time. A process that has them
// already is left as it is.
void defineClasses(device::Process&);

// Tells the process that the screen's interface style may have changed on
// the hardware: when it differs from the style the process last saw, every
// loaded controller on screen whose own style follows it receives
// `traitCollectionDidChange:` with its previous traits.
void screenStyleDidChange(device::Process&);

} // namespace uikit
