#include "platform/graphics/Image.h"

#include <cstring>
#include <fstream>

#include "platform/foundation/AtomicFile.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PngCodec.h"

namespace graphics {

using foundation::Data;
using foundation::Error;
using foundation::Result;

namespace {

    // Larger files are not pictures this platform shows; refusing them early
    // keeps a bad path from filling the memory.
    constexpr uintmax_t maximumFileSize = 256ull * 1024 * 1024;

    uint8_t divideBy255(unsigned value)
    {
        return static_cast<uint8_t>((value + 127) / 255);
    }

} // namespace

Image::Image(int width, int height, std::unique_ptr<uint32_t, FreeWords> words)
    : m_width(width)
    , m_height(height)
    , m_words(std::move(words))
{
}

Image::Image(const Image& other)
    : m_width(other.m_width)
    , m_height(other.m_height)
{
    if (other.m_words) {
        m_words.reset(static_cast<uint32_t*>(std::malloc(other.pixelCount() * 4)));
        if (!m_words)
            throw std::bad_alloc();
        std::memcpy(m_words.get(), other.m_words.get(), other.pixelCount() * 4);
    }
}

Image& Image::operator=(const Image& other)
{
    if (this != &other)
        *this = Image(other);
    return *this;
}

Result<Image> Image::create(int64_t width, int64_t height, Contents contents)
{
    if (width < 0 || height < 0)
        return Error { "an image cannot have a negative size (" + std::to_string(width) + " × " + std::to_string(height)
            + ")" };
    if (width > 0 && height > 0 && static_cast<uint64_t>(width) > maximumPixelCount / static_cast<uint64_t>(height))
        return Error { "an image of " + std::to_string(width) + " × " + std::to_string(height)
            + " pixels is larger than the 16-megapixel limit" };
    if (width == 0 || height == 0)
        return Image(static_cast<int>(width), static_cast<int>(height), nullptr);
    size_t count = static_cast<size_t>(width * height);
    auto* words
        = static_cast<uint32_t*>(contents == Contents::Transparent ? std::calloc(count, 4) : std::malloc(count * 4));
    if (!words)
        return Error { "out of memory for an image of " + std::to_string(width) + " × " + std::to_string(height)
            + " pixels" };
    return Image(static_cast<int>(width), static_cast<int>(height), std::unique_ptr<uint32_t, FreeWords>(words));
}

Result<Image> Image::decode(std::span<const uint8_t> bytes)
{
    if (looksLikePng(bytes))
        return decodePng(bytes);
    if (looksLikeJpeg(bytes))
        return decodeJpeg(bytes);
    if (bytes.empty())
        return Error { "no image data" };
    return Error { "the data is neither a PNG nor a JPEG image" };
}

Result<Image> Image::load(const std::filesystem::path& path)
{
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return Error { "cannot read the image " + path.string() + ": " + error.message() };
    if (size > maximumFileSize)
        return Error { "the image " + path.string() + " is too large to read (" + std::to_string(size) + " bytes)" };
    std::ifstream stream(path, std::ios::binary);
    Data bytes(static_cast<size_t>(size));
    if (!stream || !stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return Error { "cannot read the image " + path.string() };
    auto image = decode(bytes);
    if (!image)
        return Error { path.string() + ": " + image.error().message };
    return image;
}

Pixel Image::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    return unpremultiply(m_words.get()[static_cast<size_t>(y) * m_width + x]);
}

void Image::setPixel(int x, int y, Pixel pixel)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_words.get()[static_cast<size_t>(y) * m_width + x] = premultiply(pixel);
}

Result<Data> Image::encodePng() const
{
    return graphics::encodePng(*this);
}

Result<Data> Image::encodeJpeg(int quality) const
{
    return graphics::encodeJpeg(*this, quality);
}

Result<void> Image::writePng(const std::filesystem::path& path) const
{
    auto bytes = encodePng();
    if (!bytes)
        return bytes.error();
    if (auto written = foundation::writeFileAtomically(path, bytes.value()); !written)
        return Error { "cannot write " + path.string() + ": " + written.error().message };
    return {};
}

uint32_t Image::premultiply(Pixel pixel)
{
    unsigned alpha = pixel.alpha;
    return (alpha << 24) | (uint32_t(divideBy255(pixel.red * alpha)) << 16)
        | (uint32_t(divideBy255(pixel.green * alpha)) << 8) | divideBy255(pixel.blue * alpha);
}

Pixel Image::unpremultiply(uint32_t word)
{
    unsigned alpha = word >> 24;
    if (alpha == 0)
        return {};
    auto component = [alpha](unsigned premultiplied) {
        return static_cast<uint8_t>(std::min(255u, (premultiplied * 255 + alpha / 2) / alpha));
    };
    return { component((word >> 16) & 0xff), component((word >> 8) & 0xff), component(word & 0xff),
        static_cast<uint8_t>(alpha) };
}

} // namespace graphics
