#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/device/Forward.h"

namespace tools::scenario {

// Draws what the home screen shows: the wallpaper (light or dark, after the
// device's style), then every visible window of the process from the lowest
// window level to the highest, each at its place on the screen, at the
// screen's scale.
class ScreenRenderer {
public:
    // Writes the screen of `homeScreen` (the wallpaper alone when it is not
    // running) to a PNG file; answers the reason on failure.
    static std::optional<std::string> writeScreenshot(
        device::Device&, device::Process* homeScreen, const std::filesystem::path&);
};

} // namespace tools::scenario
