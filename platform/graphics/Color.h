#pragma once

#include <algorithm>
#include <cmath>

namespace graphics {

// A colour in sRGB with straight (not premultiplied) alpha, each component
// from 0 to 1.
struct Color {
    double red { 0 };
    double green { 0 };
    double blue { 0 };
    double alpha { 0 };

    // The same colour with its alpha multiplied by `factor`.
    Color withAlphaMultiplied(double factor) const { return { red, green, blue, alpha * factor }; }
    // Components out of range, or not numbers, are pulled into 0...1.
    Color clamped() const
    {
        return { clampComponent(red), clampComponent(green), clampComponent(blue), clampComponent(alpha) };
    }
    bool isVisible() const { return clampComponent(alpha) > 0; }

    friend bool operator==(const Color&, const Color&) = default;

private:
    static double clampComponent(double value) { return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0); }
};

} // namespace graphics
