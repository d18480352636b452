#pragma once

#include <string>

#include "platform/device/Trace.h"
#include "platform/foundation/Value.h"

namespace device {

// A value as the trace writes it: nil as null, dates as seconds since 1970,
// data as a base64 string, run-time objects as their class name, and
// dictionaries with their keys in order.
Trace::Event toJson(const foundation::Value&);

} // namespace device
