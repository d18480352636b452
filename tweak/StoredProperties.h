#pragma once

#include "platform/runtime/Runtime.h"

namespace brix {

class Brix;
struct HookEntry;

// Adds a stored property to `cls`: a getter named by the entry and its
// setter, keeping the value as an associated value of the instance (an object
// retained, anything else copied). BOOL properties keep a boolean; reading one
// never set answers NO, and an object property never set answers nil.
void addStoredProperty(Brix&, runtime::Class&, const HookEntry&);

} // namespace brix
