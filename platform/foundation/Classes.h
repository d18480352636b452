#pragma once

#include <memory>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// Defines Foundation's run-time classes in a run time: NSValue, NSNumber,
// NSNotification, NSNotificationCenter (with the run time's own default
// notification center), NSProcessInfo, NSRegularExpression and NSTextCheckingResult.
// Classes that exist already are left alone, so calling it again is harmless.
void defineClasses(runtime::Runtime&);

// Defines the classes that read the system they run on: NSDate,
// NSDateFormatter and NSBundle. Classes that exist already are left alone.
void defineSystemClasses(runtime::Runtime&, std::shared_ptr<const SystemEnvironment>);

} // namespace foundation
