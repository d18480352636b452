#include "platform/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <pango/pangocairo.h>

#include "platform/graphics/BoxBlur.h"
#include "platform/graphics/TextLayout.h"

namespace graphics {

namespace {

    // How far a continuous corner reaches along each edge, in radii, and where
    // its control points sit, as a fraction of that reach from the corner.
    constexpr double continuousReach = 1.528;
    constexpr double continuousHandle = 0.178;
    // The same for a cubic curve that draws a quarter circle (1 − 0.5523).
    constexpr double circularHandle = 1 - 0.5522847498;

    // The blur is computed on an image this many pixels of blur radius smaller,
    // so its cost stays small whatever the radius.
    constexpr double blurRadiusPerDownsampledPixel = 4;
    constexpr int maximumDownsampling = 16;

    double sanitized(double value)
    {
        return std::isfinite(value) ? value : 0;
    }

    Rect sanitized(const Rect& rect)
    {
        return { sanitized(rect.x), sanitized(rect.y), std::max(sanitized(rect.width), 0.0),
            std::max(sanitized(rect.height), 0.0) };
    }

    void appendCircularPath(cairo_t* cairo, const Rect& rect, double radius)
    {
        cairo_new_sub_path(cairo);
        cairo_arc(cairo, rect.maxX() - radius, rect.y + radius, radius, -M_PI / 2, 0);
        cairo_arc(cairo, rect.maxX() - radius, rect.maxY() - radius, radius, 0, M_PI / 2);
        cairo_arc(cairo, rect.x + radius, rect.maxY() - radius, radius, M_PI / 2, M_PI);
        cairo_arc(cairo, rect.x + radius, rect.y + radius, radius, M_PI, 3 * M_PI / 2);
        cairo_close_path(cairo);
    }

    void appendContinuousPath(cairo_t* cairo, const Rect& rect, double radius)
    {
        // Where the side is too short for the whole curve, the corner blends
        // into a quarter circle: at a radius of half the shorter side the
        // shape is a circle (or a pill), as the platform draws it.
        double half = std::min(rect.width, rect.height) / 2;
        double reach = std::min(radius * continuousReach, half);
        double handleFraction = continuousHandle;
        if (radius * continuousReach > half) {
            double blend = std::clamp((radius - half / continuousReach) / (half - half / continuousReach), 0.0, 1.0);
            handleFraction = continuousHandle + (circularHandle - continuousHandle) * blend;
        }
        double handle = reach * handleFraction;
        double left = rect.x;
        double top = rect.y;
        double right = rect.maxX();
        double bottom = rect.maxY();
        cairo_move_to(cairo, left + reach, top);
        cairo_line_to(cairo, right - reach, top);
        cairo_curve_to(cairo, right - handle, top, right, top + handle, right, top + reach);
        cairo_line_to(cairo, right, bottom - reach);
        cairo_curve_to(cairo, right, bottom - handle, right - handle, bottom, right - reach, bottom);
        cairo_line_to(cairo, left + reach, bottom);
        cairo_curve_to(cairo, left + handle, bottom, left, bottom - handle, left, bottom - reach);
        cairo_line_to(cairo, left, top + reach);
        cairo_curve_to(cairo, left, top + handle, left + handle, top, left + reach, top);
        cairo_close_path(cairo);
    }

    // Lays `tint` over every pixel of a premultiplied image.
    void tintImage(Image& image, Color tint)
    {
        Color clamped = tint.clamped();
        if (!(clamped.alpha > 0))
            return;
        const uint32_t keep = static_cast<uint32_t>(std::lround((1 - clamped.alpha) * 256));
        const uint32_t add[4] = {
            static_cast<uint32_t>(std::lround(clamped.blue * clamped.alpha * 255)),
            static_cast<uint32_t>(std::lround(clamped.green * clamped.alpha * 255)),
            static_cast<uint32_t>(std::lround(clamped.red * clamped.alpha * 255)),
            static_cast<uint32_t>(std::lround(clamped.alpha * 255)),
        };
        uint32_t* words = image.words();
        for (uint64_t i = 0; i < image.pixelCount(); ++i) {
            uint32_t result = 0;
            for (int channel = 0; channel < 4; ++channel) {
                uint32_t value = (words[i] >> (channel * 8)) & 0xff;
                result |= std::min<uint32_t>(255, ((value * keep) >> 8) + add[channel]) << (channel * 8);
            }
            words[i] = result;
        }
    }

    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

    // A Cairo view of an image's pixels, without copying them.
    Surface surfaceOf(const Image& image)
    {
        auto* words = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.words()));
        return Surface(cairo_image_surface_create_for_data(
            words, CAIRO_FORMAT_ARGB32, image.width(), image.height(), image.stride()));
    }

} // namespace

Rect placeImage(Size imageSize, const Rect& frame, ContentMode mode)
{
    double width = imageSize.width;
    double height = imageSize.height;
    if (!(width > 0 && height > 0))
        return {};
    auto centred = [&](double w, double h) {
        return Rect { frame.x + (frame.width - w) / 2, frame.y + (frame.height - h) / 2, w, h };
    };
    double centreX = frame.x + (frame.width - width) / 2;
    double centreY = frame.y + (frame.height - height) / 2;
    switch (mode) {
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        double horizontal = frame.width / width;
        double vertical = frame.height / height;
        double factor
            = mode == ContentMode::ScaleAspectFit ? std::min(horizontal, vertical) : std::max(horizontal, vertical);
        return centred(width * factor, height * factor);
    }
    case ContentMode::Center:
        return { centreX, centreY, width, height };
    case ContentMode::Top:
        return { centreX, frame.y, width, height };
    case ContentMode::Bottom:
        return { centreX, frame.maxY() - height, width, height };
    case ContentMode::Left:
        return { frame.x, centreY, width, height };
    case ContentMode::Right:
        return { frame.maxX() - width, centreY, width, height };
    case ContentMode::TopLeft:
        return { frame.x, frame.y, width, height };
    case ContentMode::TopRight:
        return { frame.maxX() - width, frame.y, width, height };
    case ContentMode::BottomLeft:
        return { frame.x, frame.maxY() - height, width, height };
    case ContentMode::BottomRight:
        return { frame.maxX() - width, frame.maxY() - height, width, height };
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        break;
    }
    return frame;
}

Canvas::Canvas(Image& target, double scale)
    : m_target(&target)
    , m_scale(std::isfinite(scale) && scale > 0 ? scale : 1)
{
    if (target.isEmpty())
        m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
    else
        m_surface = surfaceOf(target).release();
    m_cairo = cairo_create(m_surface);
    cairo_scale(m_cairo, m_scale, m_scale);
}

Canvas::~Canvas()
{
    cairo_destroy(m_cairo);
    cairo_surface_flush(m_surface);
    cairo_surface_destroy(m_surface);
}

void Canvas::save()
{
    cairo_save(m_cairo);
}

void Canvas::restore()
{
    cairo_restore(m_cairo);
}

void Canvas::translate(double dx, double dy)
{
    cairo_translate(m_cairo, sanitized(dx), sanitized(dy));
}

void Canvas::appendPath(const RoundedRect& shape)
{
    Rect rect = sanitized(shape.rect);
    double radius = std::clamp(sanitized(shape.radius), 0.0, std::min(rect.width, rect.height) / 2);
    cairo_new_path(m_cairo);
    if (radius <= 0)
        cairo_rectangle(m_cairo, rect.x, rect.y, rect.width, rect.height);
    else if (shape.style == CornerStyle::Continuous)
        appendContinuousPath(m_cairo, rect, radius);
    else
        appendCircularPath(m_cairo, rect, radius);
}

void Canvas::setColor(Color color)
{
    Color clamped = color.clamped();
    cairo_set_source_rgba(m_cairo, clamped.red, clamped.green, clamped.blue, clamped.alpha);
}

void Canvas::clipTo(const RoundedRect& shape)
{
    appendPath(shape);
    cairo_clip(m_cairo);
}

Rect Canvas::clipBounds() const
{
    double left = 0, top = 0, right = 0, bottom = 0;
    cairo_clip_extents(m_cairo, &left, &top, &right, &bottom);
    return { left, top, right - left, bottom - top };
}

void Canvas::fill(const RoundedRect& shape, Color color)
{
    if (!color.isVisible() || sanitized(shape.rect).isEmpty())
        return;
    appendPath(shape);
    setColor(color);
    cairo_fill(m_cairo);
}

void Canvas::stroke(const RoundedRect& shape, Color color, double lineWidth)
{
    if (!color.isVisible() || !(lineWidth > 0) || sanitized(shape.rect).isEmpty())
        return;
    appendPath(shape);
    setColor(color);
    cairo_set_line_width(m_cairo, std::min(lineWidth, 1e6));
    cairo_stroke(m_cairo);
}

void Canvas::drawImage(const Image& image, double imageScale, const Rect& frame, ContentMode mode, double alpha)
{
    if (image.isEmpty() || !(alpha > 0))
        return;
    if (!(std::isfinite(imageScale) && imageScale > 0))
        imageScale = 1;
    Rect place = placeImage({ image.width() / imageScale, image.height() / imageScale }, sanitized(frame), mode);
    if (place.isEmpty())
        return;
    Surface surface = surfaceOf(image);
    cairo_save(m_cairo);
    cairo_rectangle(m_cairo, place.x, place.y, place.width, place.height);
    cairo_clip(m_cairo);
    cairo_translate(m_cairo, place.x, place.y);
    cairo_scale(m_cairo, place.width / image.width(), place.height / image.height());
    cairo_set_source_surface(m_cairo, surface.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(m_cairo), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(m_cairo), CAIRO_EXTEND_PAD);
    cairo_paint_with_alpha(m_cairo, std::min(alpha, 1.0));
    cairo_restore(m_cairo);
}

void Canvas::drawText(const TextLayout& layout, Point origin, Color color)
{
    if (!color.isVisible())
        return;
    std::shared_ptr<PangoLayout> pango = layout.pangoLayout();
    if (!pango)
        return;
    cairo_save(m_cairo);
    setColor(color);
    cairo_move_to(m_cairo, sanitized(origin.x), sanitized(origin.y));
    pango_cairo_show_layout(m_cairo, pango.get());
    cairo_restore(m_cairo);
}

void Canvas::drawBlurredBackdrop(const RoundedRect& shape, double radius, Color tint, double alpha)
{
    Rect area = sanitized(shape.rect);
    if (area.isEmpty() || m_target->isEmpty() || !(alpha > 0))
        return;
    double x0 = area.x, y0 = area.y, x1 = area.maxX(), y1 = area.maxY();
    cairo_user_to_device(m_cairo, &x0, &y0);
    cairo_user_to_device(m_cairo, &x1, &y1);
    int left = static_cast<int>(std::clamp(std::floor(std::min(x0, x1)), 0.0, double(m_target->width())));
    int top = static_cast<int>(std::clamp(std::floor(std::min(y0, y1)), 0.0, double(m_target->height())));
    int right = static_cast<int>(std::clamp(std::ceil(std::max(x0, x1)), 0.0, double(m_target->width())));
    int bottom = static_cast<int>(std::clamp(std::ceil(std::max(y0, y1)), 0.0, double(m_target->height())));
    if (right <= left || bottom <= top)
        return;

    cairo_surface_flush(m_surface);
    double radiusPixels = std::clamp(sanitized(radius), 0.0, 1000.0) * m_scale;
    int factor = std::clamp(static_cast<int>(radiusPixels / blurRadiusPerDownsampledPixel), 1, maximumDownsampling);
    Image blurred = downsample(*m_target, left, top, right - left, bottom - top, factor);
    if (blurred.isEmpty())
        return;
    boxBlur(blurred, std::max(1, static_cast<int>(std::lround(radiusPixels / factor))));
    // The tint goes onto the small image, so the large area is composited once.
    tintImage(blurred, tint);

    Surface surface = surfaceOf(blurred);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface.get());
    // The pattern maps device pixels to the small image, whatever the current transformation.
    cairo_matrix_t toDevice;
    cairo_get_matrix(m_cairo, &toDevice);
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, 1.0 / factor, 0, 0, 1.0 / factor, -double(left) / factor, -double(top) / factor);
    cairo_matrix_multiply(&matrix, &toDevice, &matrix);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_save(m_cairo);
    appendPath({ area, shape.radius, shape.style });
    if (alpha >= 1) {
        // The blur replaces what it was made from rather than lying over it.
        cairo_set_operator(m_cairo, CAIRO_OPERATOR_SOURCE);
        cairo_set_source(m_cairo, pattern);
        cairo_fill(m_cairo);
    } else {
        cairo_clip(m_cairo);
        cairo_set_source(m_cairo, pattern);
        cairo_paint_with_alpha(m_cairo, alpha);
    }
    cairo_restore(m_cairo);
    cairo_pattern_destroy(pattern);
}

void Canvas::beginTransparencyLayer(const Rect& bounds)
{
    cairo_save(m_cairo);
    // A layer whose edges fall between pixels would fade its own edges.
    Rect area = sanitized(bounds);
    double x0 = area.x, y0 = area.y, x1 = area.maxX(), y1 = area.maxY();
    cairo_user_to_device(m_cairo, &x0, &y0);
    cairo_user_to_device(m_cairo, &x1, &y1);
    x0 = std::floor(x0), y0 = std::floor(y0), x1 = std::ceil(x1), y1 = std::ceil(y1);
    cairo_device_to_user(m_cairo, &x0, &y0);
    cairo_device_to_user(m_cairo, &x1, &y1);
    cairo_rectangle(m_cairo, x0, y0, x1 - x0, y1 - y0);
    cairo_clip(m_cairo);
    cairo_push_group(m_cairo);
}

void Canvas::endTransparencyLayer(double alpha)
{
    cairo_pop_group_to_source(m_cairo);
    cairo_paint_with_alpha(m_cairo, std::clamp(sanitized(alpha), 0.0, 1.0));
    cairo_restore(m_cairo);
}

void Canvas::flush()
{
    cairo_surface_flush(m_surface);
}

} // namespace graphics
