#pragma once

#include <string>

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// A step in a few words, for captions and reports: "notify alice: Alice — Hi",
// "press snooze", "expect banner.removed id=alice". Long texts are shortened
// with an ellipsis.
std::string describeStep(const Step&);

// Whether a step changes what the device shows or does, as opposed to
// looking at it (expect, expectNot, inspect, snapshot) or letting time pass.
bool isActionStep(const Step&);

} // namespace tools::scenario
