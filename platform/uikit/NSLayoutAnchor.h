#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// The edges, centres and dimensions a constraint can tie together. Leading
// and left (trailing and right) are the same edge: text runs left to right.
enum class LayoutAttribute : uint8_t { Leading, Trailing, Left, Right, CenterX, Width, Top, Bottom, CenterY, Height };
inline constexpr size_t layoutAttributeCount = 10;

enum class LayoutAxis : uint8_t { Horizontal, Vertical };

LayoutAxis axisOf(LayoutAttribute);
bool isDimension(LayoutAttribute);
const char* nameOf(LayoutAttribute);

// One attribute of one view, from which constraints are made. A view makes
// each of its anchors once and keeps it; the anchor refers to the view
// without owning it. Edges and centres relate only to others of their axis;
// a dimension (width, height) relates to any dimension and to constants.
//
// Run-time classes: NSLayoutAnchor with NSLayoutXAxisAnchor,
// NSLayoutYAxisAnchor and NSLayoutDimension. Messages:
// constraint{EqualTo,GreaterThanOrEqualTo,LessThanOrEqualTo}Anchor:[constant:],
// constraint{EqualTo,GreaterThanOrEqualTo,LessThanOrEqualTo}Constant:, and for
// dimensions constraintEqualToAnchor:multiplier:[constant:]. A request that
// mixes axes, or a constant for an edge, is reported on standard error and
// answers nil.
class NSLayoutAnchor : public runtime::NSObject {
public:
    using NSObject::NSObject;

    UIView* view() const;
    LayoutAttribute attribute() const { return m_attribute; }

    // The view's anchor for `attribute`, made on first use.
    static NSLayoutAnchor* of(UIView&, LayoutAttribute);

    static void registerClass(device::Process&);

private:
    runtime::WeakRef<UIView> m_view;
    LayoutAttribute m_attribute { LayoutAttribute::Leading };
};

} // namespace uikit
