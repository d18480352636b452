#include "platform/graphics/PngCodec.h"

#include <cstring>
#include <png.h>
#include <vector>

namespace graphics {

using foundation::Data;
using foundation::Error;
using foundation::Result;

namespace {

    constexpr uint8_t signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

    // libpng's simplified interface reports failures in the image record instead
    // of jumping out of our frames, so decoding needs no setjmp here.
    struct ReadRecord {
        png_image image {};
        ReadRecord() { image.version = PNG_IMAGE_VERSION; }
        ~ReadRecord() { png_image_free(&image); }
        std::string message() const { return image.message[0] ? image.message : "unknown error"; }
    };

} // namespace

bool looksLikePng(std::span<const uint8_t> bytes)
{
    return bytes.size() >= sizeof(signature) && std::memcmp(bytes.data(), signature, sizeof(signature)) == 0;
}

Result<Image> decodePng(std::span<const uint8_t> bytes)
{
    ReadRecord record;
    if (!png_image_begin_read_from_memory(&record.image, bytes.data(), bytes.size()))
        return Error { "not a readable PNG image: " + record.message() };
    uint64_t width = record.image.width;
    uint64_t height = record.image.height;
    if (width * height > Image::maximumPixelCount)
        return Error { "the PNG image declares " + std::to_string(width) + " × " + std::to_string(height)
            + " pixels, more than the 16-megapixel limit" };
    auto image = Image::create(static_cast<int64_t>(width), static_cast<int64_t>(height));
    if (!image)
        return image.error();
    record.image.format = PNG_FORMAT_RGBA;
    auto* rows = reinterpret_cast<uint8_t*>(image->words());
    if (!png_image_finish_read(&record.image, nullptr, rows, static_cast<png_int_32>(width * 4), nullptr))
        return Error { "the PNG image is damaged: " + record.message() };
    // The rows hold RGBA bytes; turn each pixel into its premultiplied word in place.
    for (uint64_t i = 0; i < width * height; ++i) {
        const uint8_t* rgba = rows + i * 4;
        image->words()[i] = Image::premultiply({ rgba[0], rgba[1], rgba[2], rgba[3] });
    }
    return image;
}

Result<Data> encodePng(const Image& image)
{
    if (image.isEmpty())
        return Error { "an empty image cannot be written as PNG" };
    std::vector<uint8_t> rgba(image.pixelCount() * 4);
    for (uint64_t i = 0; i < image.pixelCount(); ++i) {
        Pixel pixel = Image::unpremultiply(image.words()[i]);
        std::memcpy(&rgba[i * 4], &pixel, 4);
    }
    png_image record {};
    record.version = PNG_IMAGE_VERSION;
    record.width = static_cast<png_uint_32>(image.width());
    record.height = static_cast<png_uint_32>(image.height());
    record.format = PNG_FORMAT_RGBA;
    Data bytes(PNG_IMAGE_PNG_SIZE_MAX(record));
    png_alloc_size_t size = bytes.size();
    bool written = png_image_write_to_memory(&record, bytes.data(), &size, 0, rgba.data(), 0, nullptr);
    std::string message = record.message;
    png_image_free(&record);
    if (!written)
        return Error { "cannot encode the image as PNG: " + message };
    bytes.resize(size);
    return bytes;
}

} // namespace graphics
