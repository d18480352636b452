#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace tools {

// A bash completion script for the application's command tree: the
// sub-commands at every level, their options, and file names after an option
// that takes a value and for positional arguments. Hidden options are left
// out.
std::string bashCompletion(const CLI::App&);

} // namespace tools
