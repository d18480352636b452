#pragma once

#include "platform/foundation/Range.h"
#include "platform/runtime/Types.h"

namespace uikit {

// Lengths are points, as on the platform; the structs travel in messages by value.
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
    Point origin;
    Size size;

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct EdgeInsets {
    double top { 0 };
    double left { 0 };
    double bottom { 0 };
    double right { 0 };
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

// A range of characters in UTF-16 code units, as the platform's strings count
// them. NSRange is Foundation's type; UIKit names it here too, so that both
// layers pass the one type in messages.
using Range = foundation::Range;

inline Rect makeRect(double x, double y, double width, double height)
{
    return Rect { { x, y }, { width, height } };
}

} // namespace uikit

template <> struct runtime::Encoding<uikit::Point> {
    static constexpr const char* value = "{CGPoint=dd}";
};
template <> struct runtime::Encoding<uikit::Size> {
    static constexpr const char* value = "{CGSize=dd}";
};
template <> struct runtime::Encoding<uikit::Rect> {
    static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
template <> struct runtime::Encoding<uikit::EdgeInsets> {
    static constexpr const char* value = "{UIEdgeInsets=dddd}";
};
