#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Forward.h"

struct WebPAnimEncoder;
struct WebPPicture;

namespace tools::scenario {

// Writes an animated WebP picture frame by frame at a fixed rate. Each frame
// is compressed as it is added (as the part that differs from the frame
// before), so memory holds the compressed animation, never the frames
// themselves. Frames are lossy: an animation of a screen is watched, not
// measured.
class AnimationEncoder {
public:
    struct Settings {
        int width { 0 };
        int height { 0 };
        double framesPerSecond { 30 };
        // 0 to 100, as libwebp counts quality.
        int quality { 70 };
    };

    // Refuses sizes outside what WebP can hold (1 to 16383 pixels a side)
    // and rates that are not between 1 and 1000 frames a second.
    static foundation::Result<std::unique_ptr<AnimationEncoder>> create(const Settings&);
    ~AnimationEncoder();
    AnimationEncoder(const AnimationEncoder&) = delete;
    AnimationEncoder& operator=(const AnimationEncoder&) = delete;

    // Adds the next frame, shown for one frame interval; it must have the
    // animation's size. Fails with the reason.
    foundation::Result<void> addFrame(const graphics::Image&);
    size_t frameCount() const { return m_frameCount; }

    // Ends the animation after its last frame and writes it atomically to
    // `path`. Nothing can be added afterwards.
    foundation::Result<void> finish(const std::filesystem::path&);

private:
    explicit AnimationEncoder(const Settings&);
    int timestampOfFrame(size_t index) const;
    std::string encoderError(const std::string& what) const;

    Settings m_settings;
    WebPAnimEncoder* m_encoder { nullptr };
    std::unique_ptr<WebPPicture> m_picture;
    size_t m_frameCount { 0 };
    bool m_finished { false };
};

} // namespace tools::scenario
