#pragma once

#include <algorithm>
#include <cmath>

namespace graphics {

// Lengths are the canvas's units (points); a canvas maps them to pixels.
struct Point {
    double x { 0 };
    double y { 0 };
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width { 0 };
    double height { 0 };
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    double x { 0 };
    double y { 0 };
    double width { 0 };
    double height { 0 };

    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    // A rectangle without area, or with a side that is not a number, covers nothing.
    bool isEmpty() const { return !(width > 0 && height > 0); }
    Rect intersected(const Rect& other) const
    {
        double left = std::max(x, other.x);
        double top = std::max(y, other.y);
        double right = std::min(maxX(), other.maxX());
        double bottom = std::min(maxY(), other.maxY());
        return Rect { left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0) };
    }
    Rect united(const Rect& other) const
    {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        double left = std::min(x, other.x);
        double top = std::min(y, other.y);
        return Rect { left, top, std::max(maxX(), other.maxX()) - left, std::max(maxY(), other.maxY()) - top };
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// How a shape's corners turn. Circular corners are quarter circles; continuous
// corners start earlier along each edge and bend gradually, so the straight
// edge flows into the curve without a visible kink.
enum class CornerStyle { Circular, Continuous };

struct RoundedRect {
    Rect rect;
    double radius { 0 };
    CornerStyle style { CornerStyle::Circular };
};

} // namespace graphics
