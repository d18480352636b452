#pragma once

#include "platform/runtime/Runtime.h"

namespace foundation {

// Defines Foundation's run-time classes in a run time: NSValue, NSNumber,
// NSNotification and NSNotificationCenter, with the run time's own default
// notification center. Classes that exist already are left alone, so calling
// it again is harmless.
void defineClasses(runtime::Runtime&);

} // namespace foundation
