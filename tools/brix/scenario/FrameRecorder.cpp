#include "tools/brix/scenario/FrameRecorder.h"

#include <cmath>
#include <cstdio>

#include "platform/device/Device.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextLayout.h"

#include "tools/brix/scenario/AnimationEncoder.h"
#include "tools/brix/scenario/ScreenRenderer.h"

namespace tools::scenario {

namespace {

    // A frame time this close below a whole number of intervals counts as on it.
    constexpr double tolerance = 1e-9;
    // The longest side a WebP picture may have.
    constexpr double largestSide = 16383;
    constexpr double margin = 8;
    constexpr double timeWidth = 56;
    constexpr double fontSize = 12;
    constexpr graphics::Color stripColor { 0.07, 0.07, 0.08, 1 };
    constexpr graphics::Color timeColor { 1, 0.78, 0.25, 1 };
    constexpr graphics::Color captionColor { 0.92, 0.92, 0.94, 1 };

    std::string timeLabel(double time)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", time);
        return text;
    }

    graphics::TextLayout line(const std::string& text, double width, graphics::FontWeight weight)
    {
        graphics::TextLayout layout(text, graphics::Font(fontSize, weight));
        layout.setWidth(width);
        layout.setMaximumLines(1);
        return layout;
    }

} // namespace

size_t FrameRecorder::frameCountFor(double duration, double framesPerSecond)
{
    if (!(duration > 0) || !(framesPerSecond > 0))
        return 0;
    return static_cast<size_t>(std::ceil(duration * framesPerSecond - tolerance));
}

foundation::Result<std::unique_ptr<FrameRecorder>> FrameRecorder::create(
    const Settings& settings, double duration, const device::Hardware& hardware)
{
    if (!(settings.framesPerSecond >= 1 && settings.framesPerSecond <= fastestRate))
        return foundation::Error { "frames are made at 1 to 60 a second" };
    if (!(settings.scale > 0 && std::isfinite(settings.scale)))
        return foundation::Error { "the frames' scale must be a number above zero" };
    double width = std::round(hardware.screenWidth * settings.scale);
    double height = std::round((hardware.screenHeight + captionHeight) * settings.scale);
    if (!(width >= 1 && height >= 1 && width <= largestSide && height <= largestSide))
        return foundation::Error { "frames of " + std::to_string(std::llround(width)) + " × "
            + std::to_string(std::llround(height)) + " pixels are too large for an animation" };
    auto encoder
        = AnimationEncoder::create({ static_cast<int>(width), static_cast<int>(height), settings.framesPerSecond });
    if (!encoder)
        return encoder.error();
    return std::unique_ptr<FrameRecorder>(
        new FrameRecorder(settings, frameCountFor(duration, settings.framesPerSecond), std::move(encoder.value())));
}

FrameRecorder::FrameRecorder(const Settings& settings, size_t frameCount, std::unique_ptr<AnimationEncoder> encoder)
    : m_settings(settings)
    , m_frameCount(frameCount)
    , m_encoder(std::move(encoder))
{
}

FrameRecorder::~FrameRecorder() = default;

std::optional<double> FrameRecorder::nextFrameTime() const
{
    if (m_framesRendered >= m_frameCount)
        return std::nullopt;
    return static_cast<double>(m_framesRendered) / m_settings.framesPerSecond;
}

foundation::Result<void> FrameRecorder::renderFrame(
    device::Device& device, device::Process* homeScreen, const std::string& caption)
{
    double time = device.scheduler().now();
    auto screen = m_renderer.draw(device, homeScreen, m_settings.scale, time, std::move(m_screen));
    if (!screen)
        return foundation::Error { "cannot render frame " + std::to_string(m_framesRendered + 1) + ": "
            + screen.error().message };
    m_screen = std::move(screen.value());
    auto frame = compose(m_screen, m_settings.scale, time, caption);
    if (!frame)
        return foundation::Error { "cannot render frame " + std::to_string(m_framesRendered + 1) + ": "
            + frame.error().message };
    if (auto done = m_encoder->addFrame(frame.value()); !done)
        return done;
    ++m_framesRendered;
    return {};
}

foundation::Result<void> FrameRecorder::finish()
{
    return m_encoder->finish(m_settings.file);
}

foundation::Result<graphics::Image> FrameRecorder::compose(
    const graphics::Image& screen, double scale, double time, const std::string& caption)
{
    auto frame = graphics::Image::create(screen.width(), screen.height() + std::llround(captionHeight * scale));
    if (!frame)
        return frame.error();
    double width = screen.width() / scale;
    graphics::Canvas canvas(frame.value(), scale);
    canvas.fill({ { 0, 0, width, captionHeight } }, stripColor);
    canvas.drawImage(
        screen, scale, { 0, captionHeight, width, screen.height() / scale }, graphics::ContentMode::ScaleToFill);
    double baseline = (captionHeight - fontSize * 1.25) / 2;
    canvas.drawText(line(timeLabel(time), timeWidth, graphics::FontWeight::Bold), { margin, baseline }, timeColor);
    canvas.drawText(line(caption, width - timeWidth - 2 * margin, graphics::FontWeight::Regular),
        { margin + timeWidth, baseline }, captionColor);
    canvas.flush();
    return frame;
}

} // namespace tools::scenario
