#include "tools/brix/studio/FrameEncoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tools::studio {

namespace {

    // Columns are compared in blocks of this many pixels, each with one memcmp.
    constexpr int columnBlock = 16;

    bool rowsDiffer(const graphics::Image& a, const graphics::Image& b, int y, int x, int width)
    {
        const uint32_t* first = a.words() + static_cast<size_t>(y) * a.width() + x;
        const uint32_t* second = b.words() + static_cast<size_t>(y) * b.width() + x;
        return std::memcmp(first, second, static_cast<size_t>(width) * sizeof(uint32_t)) != 0;
    }

    foundation::Result<graphics::Image> crop(const graphics::Image& image, const FrameEncoder::Damage& area)
    {
        auto part = graphics::Image::create(area.width, area.height, graphics::Image::Contents::Unspecified);
        if (!part)
            return part;
        for (int row = 0; row < area.height; ++row) {
            std::memcpy(part.value().words() + static_cast<size_t>(row) * area.width,
                image.words() + static_cast<size_t>(area.y + row) * image.width() + area.x,
                static_cast<size_t>(area.width) * sizeof(uint32_t));
        }
        return part;
    }

} // namespace

FrameEncoder::FrameEncoder(int quality)
    : m_quality(quality)
{
}

std::optional<FrameEncoder::Damage> FrameEncoder::damage(const graphics::Image& before, const graphics::Image& after)
{
    int width = after.width();
    int height = after.height();
    int top = 0;
    while (top < height && !rowsDiffer(before, after, top, 0, width))
        ++top;
    if (top == height)
        return std::nullopt;
    int bottom = height - 1;
    while (bottom > top && !rowsDiffer(before, after, bottom, 0, width))
        --bottom;
    auto columnsDiffer = [&](int x, int span) {
        for (int y = top; y <= bottom; ++y) {
            if (rowsDiffer(before, after, y, x, span))
                return true;
        }
        return false;
    };
    int left = 0;
    while (left + columnBlock < width && !columnsDiffer(left, columnBlock))
        left += columnBlock;
    int right = width;
    while (right - columnBlock > left && !columnsDiffer(right - columnBlock, columnBlock))
        right -= columnBlock;
    return Damage { left, top, right - left, bottom - top + 1 };
}

foundation::Result<std::optional<FrameEncoder::Frame>> FrameEncoder::encode(graphics::Image screen)
{
    bool whole = m_previous.width() != screen.width() || m_previous.height() != screen.height();
    Damage area { 0, 0, screen.width(), screen.height() };
    if (!whole) {
        auto changed = damage(m_previous, screen);
        if (!changed) {
            m_spare = std::move(screen);
            return std::optional<Frame>();
        }
        area = *changed;
        whole = area.width == screen.width() && area.height == screen.height();
    }
    Frame frame { area.x, area.y, area.width, area.height, whole, {} };
    if (whole) {
        auto jpeg = screen.encodeJpeg(m_quality);
        if (!jpeg)
            return jpeg.error();
        frame.jpeg = std::move(jpeg.value());
    } else {
        auto part = crop(screen, area);
        if (!part)
            return part.error();
        auto jpeg = part.value().encodeJpeg(m_quality);
        if (!jpeg)
            return jpeg.error();
        frame.jpeg = std::move(jpeg.value());
    }
    m_spare = std::exchange(m_previous, std::move(screen));
    return std::optional<Frame>(std::move(frame));
}

} // namespace tools::studio
