#pragma once

#include <CLI/CLI.hpp>

namespace tools {

// Each command adds its sub-command to the application; the callback runs it
// and throws CLI::RuntimeError with the exit code on failure.
void addBannerCommand(CLI::App&);
void addDemoCommand(CLI::App&);
void addHooksCommand(CLI::App&);
void addPrefsCommand(CLI::App&);
void addRunCommand(CLI::App&);
void addSettingsCommand(CLI::App&);
void addStudioCommand(CLI::App&);

// Prints a clear message on standard error and ends the command with exit code 2.
[[noreturn]] void failUsage(const std::string& message);

} // namespace tools
