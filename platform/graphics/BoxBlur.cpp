#include "platform/graphics/BoxBlur.h"

#include <algorithm>
#include <array>
#include <vector>

namespace graphics {

namespace {

    // One box blur of `count` words read from `source` at `sourceStep` apart and
    // written to `destination`, with a running sum per channel.
    void blurLine(
        const uint32_t* source, size_t sourceStep, uint32_t* destination, size_t destinationStep, int count, int radius)
    {
        auto at = [&](int index) { return source[static_cast<size_t>(std::clamp(index, 0, count - 1)) * sourceStep]; };
        std::array<uint32_t, 4> sums {};
        auto add = [&](uint32_t word, int sign) {
            for (int channel = 0; channel < 4; ++channel)
                sums[channel] += static_cast<uint32_t>(sign * static_cast<int>((word >> (channel * 8)) & 0xff));
        };
        for (int index = -radius; index <= radius; ++index)
            add(at(index), 1);
        uint32_t window = static_cast<uint32_t>(2 * radius + 1);
        for (int index = 0; index < count; ++index) {
            uint32_t word = 0;
            for (int channel = 0; channel < 4; ++channel)
                word |= ((sums[channel] + window / 2) / window) << (channel * 8);
            destination[static_cast<size_t>(index) * destinationStep] = word;
            add(at(index + radius + 1), 1);
            add(at(index - radius), -1);
        }
    }

} // namespace

void boxBlur(Image& image, int radius, int passes)
{
    if (image.isEmpty() || radius <= 0 || passes <= 0)
        return;
    const int width = image.width();
    const int height = image.height();
    std::vector<uint32_t> line(static_cast<size_t>(std::max(width, height)));
    uint32_t* words = image.words();
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            uint32_t* row = words + static_cast<size_t>(y) * width;
            blurLine(row, 1, line.data(), 1, width, radius);
            std::copy_n(line.data(), width, row);
        }
        for (int x = 0; x < width; ++x) {
            uint32_t* column = words + x;
            blurLine(column, static_cast<size_t>(width), line.data(), 1, height, radius);
            for (int y = 0; y < height; ++y)
                column[static_cast<size_t>(y) * width] = line[static_cast<size_t>(y)];
        }
    }
}

Image downsample(const Image& source, int x, int y, int width, int height, int factor)
{
    factor = std::max(factor, 1);
    int smallWidth = (width + factor - 1) / factor;
    int smallHeight = (height + factor - 1) / factor;
    auto created = Image::create(smallWidth, smallHeight);
    if (!created)
        return {};
    Image small = std::move(created).value();
    for (int row = 0; row < smallHeight; ++row) {
        int top = y + row * factor;
        int bottom = std::min(top + factor, y + height);
        for (int column = 0; column < smallWidth; ++column) {
            int left = x + column * factor;
            int right = std::min(left + factor, x + width);
            std::array<uint32_t, 4> sums {};
            for (int sy = top; sy < bottom; ++sy) {
                const uint32_t* word = source.words() + static_cast<size_t>(sy) * source.width() + left;
                for (int sx = left; sx < right; ++sx, ++word) {
                    for (int channel = 0; channel < 4; ++channel)
                        sums[channel] += (*word >> (channel * 8)) & 0xff;
                }
            }
            uint32_t count = static_cast<uint32_t>((bottom - top) * (right - left));
            uint32_t result = 0;
            for (int channel = 0; channel < 4; ++channel)
                result |= ((sums[channel] + count / 2) / count) << (channel * 8);
            small.words()[static_cast<size_t>(row) * smallWidth + column] = result;
        }
    }
    return small;
}

} // namespace graphics
