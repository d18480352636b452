#pragma once

#include "platform/runtime/Runtime.h"

namespace brix {

class Brix;
struct HookEntry;

// Adds a stored property to `cls`: a getter named by the entry and its
// setter, keeping the value as an associated object of the instance (retained).
// BOOL properties are boxed as NSValue of type "B"; reading one never set
// answers NO, and an object property never set answers nil.
void addStoredProperty(Brix&, runtime::Class&, const HookEntry&);

} // namespace brix
