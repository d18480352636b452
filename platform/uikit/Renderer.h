#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Forward.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

class UIView;

// Draws `root` and its subviews, back to front, into a new transparent image
// of `size` points at `scale` pixels per point. The root's bounds fill the
// image from its top-left corner, whatever the root's frame origin; every
// other view lands at its current frame within its superview's bounds.
//
// Hidden views, views with alpha 0 and their subviews are not drawn. A
// view's alpha applies to it and its subviews together. Each view draws its
// layer's background (rounded by the layer's corner radius, continuous or
// circular), then for a blur view a blur of what is drawn beneath its frame
// tinted by its style, then its own content (a label's text, an image view's
// picture), then its subviews, clipped to its rounded bounds when it clips.
//
// Without a `time`, views are drawn as the model has them (their current
// frames and alphas). At a `time` of the device clock, views in the middle of
// an animation are drawn as it shows them then: their interpolated frames and
// alphas.
//
// An image too large (see graphics::Image) or a size or scale that is not a
// finite positive number is refused with an error.
foundation::Result<graphics::Image> renderView(
    UIView* root, const Size& size, double scale, std::optional<double> time = std::nullopt);

// Draws `root`'s tree onto `canvas` as `renderView` draws it into its image,
// the root's bounds at the canvas's current origin, over what the canvas
// already holds.
void drawViewTree(graphics::Canvas&, UIView* root, std::optional<double> time = std::nullopt);

// Where `root`'s tree puts paint, in points from the root's top-left corner:
// the boxes of the drawn views that paint something themselves (a
// background, a blur, content of their own; plain views and windows paint
// only through their subviews), cut to the box of every view that clips.
// Empty when nothing is drawn.
graphics::Rect paintedExtent(const UIView* root, std::optional<double> time = std::nullopt);

// Whether `root` itself paints every pixel of a box of `size` opaquely, so
// that nothing beneath it shows.
bool paintsOpaquely(const UIView* root, const Size& size, std::optional<double> time = std::nullopt);

// Renders as above and writes a PNG file; fails with the reason.
foundation::Result<void> writeRenderedView(UIView* root, const Size& size, double scale, const std::filesystem::path&,
    std::optional<double> time = std::nullopt);

} // namespace uikit
