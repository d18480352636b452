#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace tools::scenario {

// Draws what the home screen shows: the wallpaper (light or dark, after the
// device's style), then every visible window of the process from the lowest
// window level to the highest, each at its place on the screen. A window
// whose views need layout is laid out first, as the display cycle does
// before the platform draws.
class ScreenRenderer {
public:
    // The screen of `homeScreen` (the wallpaper alone when it is not running)
    // at `scale` pixels per point. Without a `time`, views are drawn as the
    // model has them; at a `time` of the device clock, animations in flight
    // are drawn as they show then.
    static foundation::Result<graphics::Image> render(
        device::Device&, device::Process* homeScreen, double scale, std::optional<double> time = std::nullopt);

    // Writes the screen, as the model has it, at the screen's scale to a PNG
    // file; fails with the reason.
    static foundation::Result<void> writeScreenshot(
        device::Device&, device::Process* homeScreen, const std::filesystem::path&);
};

} // namespace tools::scenario
