#pragma once

#include <filesystem>
#include <string>

#include "platform/foundation/Result.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// Reads a scenario file (format version 1) and validates all of it before
// anything runs: unknown fields, wrong types, impossible times, missing
// fixtures and steps of features this tool does not have yet are refused
// with a message that names the step (counted from 1) and the field.
class ScenarioParser {
public:
    static foundation::Result<Scenario> parseFile(const std::filesystem::path&);
    // `folder` is where fixture paths are resolved.
    static foundation::Result<Scenario> parseText(const std::string& text, const std::filesystem::path& folder);
};

} // namespace tools::scenario
