#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

#include "tools/brix/scenario/ScreenRenderer.h"

namespace tools::scenario {

class AnimationEncoder;

// Films a run at a fixed rate of device time: frame k shows the screen at
// k / rate seconds, as the animations in flight show it then, under a strip
// that gives the time and the step played last. A run of d seconds has
// ceil(d × rate) frames, each shown for one interval, so the animation lasts
// as long as the run. Frames go to an animated WebP as they are made.
//
// The strip's time has hundredths of a second, so no two frames of a rate up
// to `fastestRate` look the same and none is merged into the frame before.
class FrameRecorder {
public:
    static constexpr double fastestRate = 60;
    // The height of the strip above the screen, in points.
    static constexpr double captionHeight = 22;

    struct Settings {
        double framesPerSecond { 30 };
        // Pixels per point; the screen's own scale is far more than an animation needs.
        double scale { 1 };
        std::filesystem::path file;
    };

    // The frames a run of `duration` seconds has at `framesPerSecond`.
    static size_t frameCountFor(double duration, double framesPerSecond);

    // Refuses a rate outside 1 to `fastestRate`, a scale that is not a finite
    // number above zero, and frames larger than an image may be.
    static foundation::Result<std::unique_ptr<FrameRecorder>> create(
        const Settings&, double duration, const device::Hardware&);
    ~FrameRecorder();

    size_t frameCount() const { return m_frameCount; }
    size_t framesRendered() const { return m_framesRendered; }
    // When the next frame is due, or nothing once every frame is made.
    std::optional<double> nextFrameTime() const;

    // Renders the next frame from the device as it is now; the caller has
    // moved the clock to `nextFrameTime()`. Fails with the reason.
    foundation::Result<void> renderFrame(device::Device&, device::Process* homeScreen, const std::string& caption);
    // Writes the animation of the frames made so far.
    foundation::Result<void> finish();

    // One frame: `screen` (drawn at `scale`) under the strip.
    static foundation::Result<graphics::Image> compose(
        const graphics::Image& screen, double scale, double time, const std::string& caption);

private:
    FrameRecorder(const Settings&, size_t frameCount, std::unique_ptr<AnimationEncoder>);

    Settings m_settings;
    size_t m_frameCount { 0 };
    size_t m_framesRendered { 0 };
    std::unique_ptr<AnimationEncoder> m_encoder;
    ScreenRenderer m_renderer;
    // The last screen drawn, whose memory the next one reuses.
    graphics::Image m_screen;
};

} // namespace tools::scenario
