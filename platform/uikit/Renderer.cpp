#include "platform/uikit/Renderer.h"

#include <cmath>
#include <typeinfo>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/GraphicsGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewAnimation.h"

namespace uikit {

using foundation::Error;
using foundation::Result;
using graphics::Canvas;
using graphics::Color;
using graphics::CornerStyle;
using graphics::RoundedRect;

namespace {

    // How a blur style looks: the blur's radius in points and the tint laid over
    // it. These approximate the platform's materials; "regular" (and any style
    // this renderer does not know) follows the light appearance.
    struct BlurLook {
        double radius;
        Color tint;
    };

    BlurLook blurLookOf(int64_t style)
    {
        switch (style) {
        case 0: // extra light
            return { 20, { 0.97, 0.97, 0.97, 0.8 } };
        case 1: // light
            return { 20, { 1, 1, 1, 0.55 } };
        case 2: // dark
            return { 20, { 0.11, 0.11, 0.11, 0.73 } };
        default: // regular and the rest
            return { 20, { 0.98, 0.98, 0.98, 0.65 } };
        }
    }

    // A blur view answers through its C++ hook; one defined only in the run time
    // is asked for its effect's style. A blur view without an effect shows no blur.
    std::optional<int64_t> blurStyleOf(UIView* view)
    {
        if (auto style = view->blurStyle())
            return style;
        if (!runtime::isKindOf(view, "UIVisualEffectView"))
            return std::nullopt;
        auto effect = runtime::sendIfResponds<runtime::Ref<runtime::Object>>(view, SEL("effect"));
        if (!effect || !runtime::respondsToSelector(effect.get(), SEL("style")))
            return std::nullopt;
        return runtime::send<int64_t>(effect.get(), SEL("style"));
    }

    // The frames and alphas drawn: the model's, or at an instant of the device
    // clock the ones the animations in flight show.
    class Snapshot {
    public:
        explicit Snapshot(std::optional<double> time)
            : m_time(time)
        {
        }

        Rect frameOf(const UIView* view) const { return m_time ? presentationFrame(view, *m_time) : view->frame(); }
        double alphaOf(const UIView* view) const { return m_time ? presentationAlpha(view, *m_time) : view->alpha(); }
        bool isDrawn(const UIView* view) const { return !view->isHidden() && alphaOf(view) > 0; }

    private:
        std::optional<double> m_time;
    };

    graphics::Rect boxOf(const Size& size)
    {
        return toGraphicsRect(Size { std::max(size.width, 0.0), std::max(size.height, 0.0) });
    }

    RoundedRect shapeOf(const UIView* view, const Size& size)
    {
        const CALayer* layer = view->existingLayer();
        if (!layer)
            return { boxOf(size) };
        return { boxOf(size), layer->cornerRadius(),
            layer->continuousCorners() ? CornerStyle::Continuous : CornerStyle::Circular };
    }

    bool clips(const UIView* view)
    {
        return view->clipsToBounds();
    }

    Point subviewPosition(const Snapshot& snapshot, const UIView* parent, const UIView* child)
    {
        Rect bounds = parent->bounds();
        Point origin = snapshot.frameOf(child).origin;
        return { origin.x - bounds.origin.x, origin.y - bounds.origin.y };
    }

    // Where a view and its drawn subviews may put paint, in the view's own coordinates.
    graphics::Rect extentOf(const Snapshot& snapshot, const UIView* view)
    {
        graphics::Rect extent = boxOf(snapshot.frameOf(view).size);
        if (clips(view))
            return extent;
        for (auto& subview : view->subviews()) {
            if (!snapshot.isDrawn(subview.get()))
                continue;
            graphics::Rect inner = extentOf(snapshot, subview.get());
            Point position = subviewPosition(snapshot, view, subview.get());
            extent = extent.united(offsetBy(inner, position));
        }
        return extent;
    }

    // Whether a view puts paint in its box itself. Plain views and windows
    // draw no content of their own; a view of any other class may.
    bool paintsItself(const UIView* view)
    {
        const UIColor* background = view->backgroundColor();
        if (background && background->color().isVisible())
            return true;
        if (blurStyleOf(const_cast<UIView*>(view)))
            return true;
        return typeid(*view) != typeid(UIView) && !dynamic_cast<const UIWindow*>(view);
    }

    // Where a view and its drawn subviews do put paint, in the view's own coordinates.
    graphics::Rect paintedArea(const Snapshot& snapshot, const UIView* view)
    {
        graphics::Rect box = boxOf(snapshot.frameOf(view).size);
        graphics::Rect area = paintsItself(view) ? box : graphics::Rect {};
        for (auto& subview : view->subviews()) {
            if (!snapshot.isDrawn(subview.get()))
                continue;
            area = area.united(
                offsetBy(paintedArea(snapshot, subview.get()), subviewPosition(snapshot, view, subview.get())));
        }
        return clips(view) ? area.intersected(box) : area;
    }

    bool hasDrawnSubviews(const Snapshot& snapshot, const UIView* view)
    {
        for (auto& subview : view->subviews()) {
            if (snapshot.isDrawn(subview.get()))
                return true;
        }
        return false;
    }

    void drawView(Canvas& canvas, const Snapshot& snapshot, UIView* view, Point position)
    {
        if (!snapshot.isDrawn(view))
            return;
        canvas.save();
        canvas.translate(position.x, position.y);
        Size size = snapshot.frameOf(view).size;
        RoundedRect shape = shapeOf(view, size);
        // Opacity applies to the view and its subviews as one picture; a view
        // without drawn subviews simply draws fainter.
        double alpha = snapshot.alphaOf(view);
        bool layered = alpha < 1 && hasDrawnSubviews(snapshot, view);
        if (layered)
            canvas.beginTransparencyLayer(extentOf(snapshot, view));
        double ownAlpha = layered ? 1 : alpha;

        if (auto style = blurStyleOf(view)) {
            BlurLook look = blurLookOf(*style);
            canvas.drawBlurredBackdrop(shape, look.radius, look.tint, ownAlpha);
        }
        if (UIColor* background = view->backgroundColor())
            canvas.fill(shape, background->color().withAlphaMultiplied(ownAlpha));
        if (clips(view))
            canvas.clipTo(shape);
        view->drawContent(canvas, sizeOf(shape.rect), ownAlpha);

        // A subview may leave the tree while a hook runs; the copy keeps it alive.
        std::vector<runtime::Ref<UIView>> subviews = view->subviews();
        for (auto& subview : subviews)
            drawView(canvas, snapshot, subview.get(), subviewPosition(snapshot, view, subview.get()));

        if (layered)
            canvas.endTransparencyLayer(alpha);
        canvas.restore();
    }

    // A root that paints every pixel opaquely needs no cleared image beneath it.
    graphics::Image::Contents contentsBeneath(const Snapshot& snapshot, const UIView* root, const Size& size)
    {
        if (!root || !snapshot.isDrawn(root) || snapshot.alphaOf(root) < 1)
            return graphics::Image::Contents::Transparent;
        const UIColor* background = root->backgroundColor();
        const CALayer* layer = root->existingLayer();
        Size covered = snapshot.frameOf(root).size;
        bool opaque = background && background->color().clamped().alpha >= 1;
        bool square = layer && !(layer->cornerRadius() > 0);
        if (opaque && square && covered.width >= size.width && covered.height >= size.height)
            return graphics::Image::Contents::Unspecified;
        return graphics::Image::Contents::Transparent;
    }

    bool isPositive(double value)
    {
        return std::isfinite(value) && value > 0;
    }

} // namespace

void drawViewTree(Canvas& canvas, UIView* root, std::optional<double> time)
{
    if (root)
        drawView(canvas, Snapshot(time), root, { 0, 0 });
}

graphics::Rect paintedExtent(const UIView* root, std::optional<double> time)
{
    Snapshot snapshot(time);
    if (!root || !snapshot.isDrawn(root))
        return {};
    return paintedArea(snapshot, root);
}

bool paintsOpaquely(const UIView* root, const Size& size, std::optional<double> time)
{
    return contentsBeneath(Snapshot(time), root, size) == graphics::Image::Contents::Unspecified;
}

Result<graphics::Image> renderView(UIView* root, const Size& size, double scale, std::optional<double> time)
{
    if (!isPositive(size.width) || !isPositive(size.height) || !isPositive(scale))
        return Error { "cannot render a view tree at " + std::to_string(size.width) + " × "
            + std::to_string(size.height) + " points and scale " + std::to_string(scale)
            + ": sizes and scale must be positive numbers" };
    double width = std::ceil(size.width * scale - 1e-6);
    double height = std::ceil(size.height * scale - 1e-6);
    if (width * height > static_cast<double>(graphics::Image::maximumPixelCount))
        return Error { "cannot render a view tree of " + std::to_string(static_cast<int64_t>(width)) + " × "
            + std::to_string(static_cast<int64_t>(height)) + " pixels: more than the 16-megapixel limit" };
    Snapshot snapshot(time);
    auto image = graphics::Image::create(
        static_cast<int64_t>(width), static_cast<int64_t>(height), contentsBeneath(snapshot, root, size));
    if (!image)
        return image.error();
    if (root) {
        Canvas canvas(image.value(), scale);
        drawView(canvas, snapshot, root, { 0, 0 });
    }
    return image;
}

foundation::Result<void> writeRenderedView(
    UIView* root, const Size& size, double scale, const std::filesystem::path& path, std::optional<double> time)
{
    auto image = renderView(root, size, scale, time);
    if (!image)
        return image.error();
    return image->writePng(path);
}

} // namespace uikit
