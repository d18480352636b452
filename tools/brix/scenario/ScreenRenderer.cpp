#include "tools/brix/scenario/ScreenRenderer.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Device.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/graphics/Canvas.h"
#include "platform/uikit/GraphicsGeometry.h"
#include "platform/uikit/Renderer.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"

namespace tools::scenario {

using runtime::Ref;

namespace {

    std::vector<Ref<uikit::UIWindow>> visibleWindows(device::Process* process)
    {
        std::vector<Ref<uikit::UIWindow>> windows;
        if (!process)
            return windows;
        for (auto& window : uikit::UIKitState::of(*process).windows()) {
            if (!window->isHidden())
                windows.push_back(window);
        }
        std::stable_sort(
            windows.begin(), windows.end(), [](auto& a, auto& b) { return a->windowLevel() < b->windowLevel(); });
        return windows;
    }

    // The number of pixels in `points` at `scale`, when it is a whole number.
    std::optional<int64_t> wholePixels(double points, double scale)
    {
        double pixels = points * scale;
        double whole = std::round(pixels);
        if (!std::isfinite(pixels) || std::abs(pixels - whole) > 1e-6)
            return std::nullopt;
        return static_cast<int64_t>(whole);
    }

    // How far past its views' boxes a window's text may reach and still be drawn.
    constexpr double overflowMargin = 16;

    bool coversTheScreen(const uikit::UIWindow& window, const uikit::Size& screen, std::optional<double> time)
    {
        auto frame = window.frame();
        return frame.origin.x <= 0 && frame.origin.y <= 0 && frame.maxX() >= screen.width
            && frame.maxY() >= screen.height && uikit::paintsOpaquely(&window, frame.size, time);
    }

} // namespace

graphics::Color ScreenRenderer::wallpaper(const device::Device& device)
{
    if (device.hardware().style == device::Hardware::Style::Dark)
        return { 0.09, 0.10, 0.13, 1 };
    return { 0.80, 0.85, 0.92, 1 };
}

foundation::Result<graphics::Image> ScreenRenderer::render(
    device::Device& device, device::Process* homeScreen, double scale, std::optional<double> time)
{
    return ScreenRenderer().draw(device, homeScreen, scale, time);
}

foundation::Result<graphics::Image> ScreenRenderer::draw(device::Device& device, device::Process* homeScreen,
    double scale, std::optional<double> time, graphics::Image recycled)
{
    auto& hardware = device.hardware();
    uikit::Size screen { hardware.screenWidth, hardware.screenHeight };
    int64_t width = std::llround(screen.width * scale);
    int64_t height = std::llround(screen.height * scale);
    graphics::Image target;
    if (!recycled.isEmpty() && recycled.width() == width && recycled.height() == height) {
        target = std::move(recycled);
    } else {
        // Every pixel is painted: by the wallpaper, or by a window that covers it.
        auto made = graphics::Image::create(width, height, graphics::Image::Contents::Unspecified);
        if (!made)
            return made.error();
        target = std::move(made.value());
    }
    graphics::Canvas canvas(target, scale);
    auto windows = visibleWindows(homeScreen);
    for (size_t index = 0; index < windows.size(); ++index) {
        auto& window = *windows[index];
        // The display cycle lays out what changed before anything is drawn.
        if (window.needsLayout())
            window.layoutIfNeeded();
        bool covers = index == 0 && coversTheScreen(window, screen, time);
        if (index == 0 && !covers)
            canvas.fill({ uikit::toGraphicsRect(screen) }, wallpaper(device));
        if (auto drawn = drawWindow(canvas, window, scale, time, covers); !drawn)
            return drawn.error();
    }
    if (windows.empty())
        canvas.fill({ uikit::toGraphicsRect(screen) }, wallpaper(device));
    canvas.flush();
    return target;
}

foundation::Result<void> ScreenRenderer::drawWindow(
    graphics::Canvas& canvas, uikit::UIWindow& window, double scale, std::optional<double> time, bool coversTheScreen)
{
    auto frame = window.frame();
    graphics::Rect box = uikit::toGraphicsRect(frame);
    auto width = wholePixels(frame.width(), scale);
    auto height = wholePixels(frame.height(), scale);
    if (!wholePixels(frame.origin.x, scale) || !wholePixels(frame.origin.y, scale) || !width || !height || *width <= 0
        || *height <= 0) {
        // A window that falls between pixels is drawn whole and placed as a picture is.
        auto drawn = uikit::renderView(&window, frame.size, scale, time);
        if (!drawn)
            return drawn.error();
        canvas.drawImage(drawn.value(), scale, box, graphics::ContentMode::ScaleToFill);
        return {};
    }
    if (coversTheScreen) {
        // Opaque from edge to edge: nothing beneath shows, so it is drawn in place.
        canvas.save();
        canvas.clipTo({ box });
        canvas.translate(box.x, box.y);
        uikit::drawViewTree(canvas, &window, time);
        canvas.restore();
        return {};
    }
    auto painted = uikit::paintedExtent(&window, time).intersected({ 0, 0, box.width, box.height });
    if (painted.isEmpty())
        return {};
    int64_t top = std::clamp<int64_t>(std::floor((painted.y - overflowMargin) * scale), 0, *height);
    int64_t bottom = std::clamp<int64_t>(std::ceil((painted.maxY() + overflowMargin) * scale), top, *height);
    if (bottom == top)
        return {};
    if (m_layer.width() != *width || m_layer.height() != *height) {
        auto made = graphics::Image::create(*width, *height);
        if (!made)
            return made.error();
        m_layer = std::move(made.value());
    }
    graphics::Rect rows { 0, static_cast<double>(top) / scale, box.width, static_cast<double>(bottom - top) / scale };
    {
        graphics::Canvas layer(m_layer, scale);
        layer.clipTo({ rows });
        uikit::drawViewTree(layer, &window, time);
        layer.flush();
    }
    canvas.save();
    canvas.clipTo({ { box.x, box.y + rows.y, rows.width, rows.height } });
    canvas.drawImage(m_layer, scale, box, graphics::ContentMode::ScaleToFill);
    canvas.restore();
    // The layer goes back to transparent for the next window.
    std::fill(m_layer.words() + top * *width, m_layer.words() + bottom * *width, 0u);
    return {};
}

foundation::Result<void> ScreenRenderer::writeScreenshot(
    device::Device& device, device::Process* homeScreen, const std::filesystem::path& path)
{
    auto screen = render(device, homeScreen, device.hardware().screenScale);
    if (!screen)
        return screen.error();
    auto encoded = screen.value().encodePng();
    if (!encoded)
        return encoded.error();
    return foundation::writeFileAtomically(path, encoded.value());
}

} // namespace tools::scenario
