#pragma once

#include <optional>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"

namespace tools::studio {

// Turns the screens of a live device into what a page needs to show them:
// the rectangle that changed since the screen before (the damage), encoded
// as a JPEG of its own, or nothing at all when no pixel changed.
class FrameEncoder {
public:
    struct Frame {
        int x { 0 };
        int y { 0 };
        int width { 0 };
        int height { 0 };
        // Whether the frame covers the whole screen.
        bool whole { false };
        foundation::Data jpeg;
    };

    explicit FrameEncoder(int quality = 85);

    // The part of `screen` that differs from the screen given before (all of
    // it after `reset` or a change of size); nothing when they are the same.
    // Errors are the encoder's own.
    foundation::Result<std::optional<Frame>> encode(graphics::Image screen);
    // The next screen is sent whole.
    void reset() { m_previous = {}; }
    // The memory of a screen the encoder no longer needs (the one before the
    // last, or the last when it changed nothing), for the next screen to be
    // drawn into; empty when there is none.
    graphics::Image takeSpare() { return std::move(m_spare); }

    // The smallest rectangle holding every pixel that differs between two
    // images of the same size; nothing when none does.
    struct Damage {
        int x, y, width, height;
    };
    static std::optional<Damage> damage(const graphics::Image& before, const graphics::Image& after);

private:
    int m_quality;
    graphics::Image m_previous;
    graphics::Image m_spare;
};

} // namespace tools::studio
