#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// Where UIKit's geometry meets the canvas's. Both count points; a UIKit
// rectangle is an origin and a size (the form it travels in messages), a
// graphics::Rect its four numbers. Views and the renderer convert here and
// nowhere else.

inline graphics::Rect toGraphicsRect(const Rect& rect)
{
    return { rect.origin.x, rect.origin.y, rect.size.width, rect.size.height };
}

// The rectangle of `size` at the origin: what a view of that size draws in.
inline graphics::Rect toGraphicsRect(const Size& size)
{
    return { 0, 0, size.width, size.height };
}

inline Size sizeOf(const graphics::Rect& rect)
{
    return { rect.width, rect.height };
}

// `rect` moved by `offset`, as a subview's extent seen from its superview.
inline graphics::Rect offsetBy(const graphics::Rect& rect, const Point& offset)
{
    return { rect.x + offset.x, rect.y + offset.y, rect.width, rect.height };
}

} // namespace uikit
