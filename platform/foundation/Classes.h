#pragma once

#include <memory>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// Defines Foundation's run-time classes in a run time: NSValue, NSNumber,
// NSNotification, NSNotificationCenter (with the run time's own default
// notification center), NSProcessInfo, NSRegularExpression, NSTextCheckingResult,
// NSError, NSArray and NSMutableArray, NSDictionary and NSMutableDictionary, NSUUID,
// NSNull.
// Classes that exist already are left alone, so calling it again is harmless.
void defineClasses(runtime::Runtime&);

// Defines the classes that read the system they run on: NSDate,
// NSDateFormatter, NSBundle, NSFileManager and NSDirectoryEnumerator.
// Classes that exist already are left alone.
void defineSystemClasses(runtime::Runtime&, std::shared_ptr<const SystemEnvironment>);

} // namespace foundation
