#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace graphics {

class TextLayout;

// How a picture fills a frame, numbered as the platform's view content modes.
// The modes from Center on draw the picture at its own size.
enum class ContentMode {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Redraw = 3,
    Center = 4,
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
    TopLeft = 9,
    TopRight = 10,
    BottomLeft = 11,
    BottomRight = 12,
};

// Where a picture of `imageSize` lands in `frame` under `mode`; aspect fill
// overflows the frame, which the caller clips when it must.
Rect placeImage(Size imageSize, const Rect& frame, ContentMode);

// Draws into an image with Cairo. The canvas's units are points: one unit is
// `scale` pixels of the target. Drawing state (translation, clip) is saved
// and restored in pairs. The target must outlive the canvas; its pixels are
// up to date once the canvas is gone or `flush` has run.
//
// Corner radii below zero count as zero and radii above half the shorter side
// as that half. Continuous corners are drawn as one cubic Bézier curve per
// corner that begins 1.528 radii before the corner along each edge and passes,
// at its middle, where a circular corner of the same radius would: its
// curvature grows gradually from the edge instead of jumping, an
// approximation of a superellipse corner. Where the sides are too short for
// that reach, the corner blends into a quarter circle, so a radius of half
// the shorter side draws a circle or a pill.
class Canvas {
public:
    explicit Canvas(Image& target, double scale = 1);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    double scale() const { return m_scale; }

    void save();
    void restore();
    void translate(double dx, double dy);
    void clipTo(const RoundedRect&);
    // The part of the canvas drawing can still reach, in current units.
    Rect clipBounds() const;

    void fill(const RoundedRect&, Color);
    void stroke(const RoundedRect&, Color, double lineWidth);
    // `imageScale` is the picture's pixels per point.
    void drawImage(const Image&, double imageScale, const Rect& frame, ContentMode, double alpha = 1);
    // Draws the layout with its top-left corner at `origin`.
    void drawText(const TextLayout&, Point origin, Color);
    // Replaces `shape` (within the clip) with a blur of what the target
    // holds there, tinted, drawn with `alpha`. `radius` is in points. The
    // blur is computed at a reduced resolution, which a blur this wide cannot
    // tell apart.
    void drawBlurredBackdrop(const RoundedRect& shape, double radius, Color tint, double alpha = 1);

    // Everything drawn between the two calls is composited at once with
    // `alpha`, as a view's opacity applies to it and its subviews together.
    // `bounds` limits the layer to where drawing will happen.
    void beginTransparencyLayer(const Rect& bounds);
    void endTransparencyLayer(double alpha);

    void flush();

private:
    void appendPath(const RoundedRect&);
    void setColor(Color);

    Image* m_target;
    double m_scale;
    cairo_surface_t* m_surface { nullptr };
    cairo_t* m_cairo { nullptr };
};

} // namespace graphics
