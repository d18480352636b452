#include "tools/brix/scenario/ScreenRenderer.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PngCodec.h"
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

std::optional<std::string> ScreenRenderer::writeScreenshot(
    device::Device& device, device::Process* homeScreen, const std::filesystem::path& path)
{
    auto& hardware = device.hardware();
    uikit::Size screen { hardware.screenWidth, hardware.screenHeight };
    auto target = graphics::Image::create(
        std::llround(screen.width * hardware.screenScale), std::llround(screen.height * hardware.screenScale));
    if (!target)
        return target.error().message;
    {
        graphics::Canvas canvas(target.value(), hardware.screenScale);
        canvas.fill({ { 0, 0, screen.width, screen.height } }, wallpaper(hardware.style));
        for (auto& window : visibleWindows(homeScreen)) {
            auto frame = window->frame();
            auto drawn = uikit::renderView(window.get(), frame.size, hardware.screenScale);
            if (!drawn)
                return drawn.error().message;
            canvas.drawImage(drawn.value(), hardware.screenScale,
                { frame.origin.x, frame.origin.y, frame.width(), frame.height() }, graphics::ContentMode::ScaleToFill);
        }
    }
    auto encoded = graphics::encodePng(target.value());
    if (!encoded)
        return encoded.error().message;
    return foundation::writeFileAtomically(path, encoded.value());
}

} // namespace tools::scenario
