#pragma once

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Value.h"

namespace foundation {

// Foundation's collections, strings, numbers and dates are the run time's
// values: a message argument typed "@" carries either an object or a value.
using runtime::Data;
using runtime::Date;
using runtime::describe;
using runtime::Value;

} // namespace foundation
