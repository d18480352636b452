#include "tools/brix/scenario/AnimationEncoder.h"

#include <cmath>
#include <webp/encode.h>
#include <webp/mux.h>

#include "platform/foundation/AtomicFile.h"
#include "platform/graphics/Image.h"

namespace tools::scenario {

namespace {

    constexpr int largestSide = WEBP_MAX_DIMENSION;
    constexpr double fastestRate = 1000;

    // The straight-alpha ARGB word libwebp reads.
    uint32_t straightArgb(uint32_t premultiplied)
    {
        if ((premultiplied >> 24) == 0xff)
            return premultiplied;
        auto pixel = graphics::Image::unpremultiply(premultiplied);
        return (uint32_t(pixel.alpha) << 24) | (uint32_t(pixel.red) << 16) | (uint32_t(pixel.green) << 8)
            | uint32_t(pixel.blue);
    }

} // namespace

foundation::Result<std::unique_ptr<AnimationEncoder>> AnimationEncoder::create(const Settings& settings)
{
    if (settings.width < 1 || settings.height < 1 || settings.width > largestSide || settings.height > largestSide)
        return foundation::Error { "an animation of " + std::to_string(settings.width) + " × "
            + std::to_string(settings.height) + " pixels cannot be written as WebP (1 to " + std::to_string(largestSide)
            + " pixels a side)" };
    if (!(settings.framesPerSecond >= 1 && settings.framesPerSecond <= fastestRate))
        return foundation::Error { "an animation runs at 1 to 1000 frames a second" };
    std::unique_ptr<AnimationEncoder> encoder(new AnimationEncoder(settings));
    if (!encoder->m_encoder || !encoder->m_picture)
        return foundation::Error { "libwebp could not start an animation (out of memory?)" };
    return encoder;
}

AnimationEncoder::AnimationEncoder(const Settings& settings)
    : m_settings(settings)
{
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return;
    options.anim_params.loop_count = 0;
    options.anim_params.bgcolor = 0xff000000;
    // Only the first frame is whole; every later one stores what changed,
    // which for a screen where a banner moves is a small part of it.
    options.kmax = 0;
    options.allow_mixed = 0;
    options.minimize_size = 0;
    m_encoder = WebPAnimEncoderNew(settings.width, settings.height, &options);
    auto picture = std::make_unique<WebPPicture>();
    if (!WebPPictureInit(picture.get()))
        return;
    picture->use_argb = 1;
    picture->width = settings.width;
    picture->height = settings.height;
    if (!WebPPictureAlloc(picture.get()))
        return;
    m_picture = std::move(picture);
}

AnimationEncoder::~AnimationEncoder()
{
    if (m_picture)
        WebPPictureFree(m_picture.get());
    if (m_encoder)
        WebPAnimEncoderDelete(m_encoder);
}

int AnimationEncoder::timestampOfFrame(size_t index) const
{
    return static_cast<int>(std::llround(static_cast<double>(index) * 1000 / m_settings.framesPerSecond));
}

std::string AnimationEncoder::encoderError(const std::string& what) const
{
    std::string reason = WebPAnimEncoderGetError(m_encoder);
    return what + (reason.empty() ? "" : ": " + reason);
}

foundation::Result<void> AnimationEncoder::addFrame(const graphics::Image& frame)
{
    if (m_finished)
        return foundation::Error { "the animation is already finished" };
    if (frame.width() != m_settings.width || frame.height() != m_settings.height)
        return foundation::Error { "a frame of " + std::to_string(frame.width()) + " × "
            + std::to_string(frame.height()) + " pixels does not fit an animation of "
            + std::to_string(m_settings.width) + " × " + std::to_string(m_settings.height) };
    const uint32_t* source = frame.words();
    for (int y = 0; y < frame.height(); ++y) {
        uint32_t* row = m_picture->argb + static_cast<size_t>(y) * m_picture->argb_stride;
        for (int x = 0; x < frame.width(); ++x)
            row[x] = straightArgb(source[static_cast<size_t>(y) * frame.width() + x]);
    }
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return foundation::Error { "libwebp refused its own default settings" };
    config.lossless = 0;
    config.quality = static_cast<float>(m_settings.quality);
    config.method = 1;
    if (!WebPAnimEncoderAdd(m_encoder, m_picture.get(), timestampOfFrame(m_frameCount), &config))
        return foundation::Error { encoderError("cannot encode frame " + std::to_string(m_frameCount + 1)) };
    ++m_frameCount;
    return {};
}

foundation::Result<void> AnimationEncoder::finish(const std::filesystem::path& path)
{
    if (m_finished)
        return foundation::Error { "the animation is already finished" };
    m_finished = true;
    if (m_frameCount == 0)
        return foundation::Error { "an animation needs at least one frame" };
    if (!WebPAnimEncoderAdd(m_encoder, nullptr, timestampOfFrame(m_frameCount), nullptr))
        return foundation::Error { encoderError("cannot end the animation") };
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(m_encoder, &data))
        return foundation::Error { encoderError("cannot assemble the animation") };
    auto written = foundation::writeFileAtomically(path, std::span<const uint8_t>(data.bytes, data.size));
    WebPDataClear(&data);
    if (!written)
        return foundation::Error { "cannot write " + path.string() + ": " + written.error().message };
    return {};
}

} // namespace tools::scenario
