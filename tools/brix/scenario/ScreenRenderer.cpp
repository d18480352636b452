#include "tools/brix/scenario/ScreenRenderer.h"

#include <algorithm>

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

    graphics::Color wallpaper(device::Hardware::Style style)
    {
        if (style == device::Hardware::Style::Dark)
            return { 0.09, 0.10, 0.13, 1 };
        return { 0.80, 0.85, 0.92, 1 };
    }

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

} // namespace

foundation::Result<graphics::Image> ScreenRenderer::render(
    device::Device& device, device::Process* homeScreen, double scale, std::optional<double> time)
{
    auto& hardware = device.hardware();
    uikit::Size screen { hardware.screenWidth, hardware.screenHeight };
    auto target = graphics::Image::create(std::llround(screen.width * scale), std::llround(screen.height * scale));
    if (!target)
        return target.error();
    graphics::Canvas canvas(target.value(), scale);
    canvas.fill({ uikit::toGraphicsRect(screen) }, wallpaper(hardware.style));
    for (auto& window : visibleWindows(homeScreen)) {
        // The display cycle lays out what changed before anything is drawn.
        if (window->needsLayout())
            window->layoutIfNeeded();
        auto frame = window->frame();
        auto drawn = uikit::renderView(window.get(), frame.size, scale, time);
        if (!drawn)
            return drawn.error();
        canvas.drawImage(drawn.value(), scale, uikit::toGraphicsRect(frame), graphics::ContentMode::ScaleToFill);
    }
    canvas.flush();
    return target;
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
