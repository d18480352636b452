#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

namespace graphics {

// One pixel with straight (not premultiplied) 8-bit components.
struct Pixel {
    uint8_t red { 0 };
    uint8_t green { 0 };
    uint8_t blue { 0 };
    uint8_t alpha { 0 };
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A decoded picture: width × height pixels held as premultiplied ARGB in one
// 32-bit word each (native byte order), rows packed without padding, which is
// Cairo's ARGB32 layout, so a canvas draws into and from it without copying.
//
// Pictures are bounded: an image may hold at most `maximumPixelCount` pixels,
// and decoding refuses a file that declares more before allocating anything,
// so a small file claiming an enormous size (a decompression bomb) fails
// cleanly. Malformed or truncated data is refused with an error that says
// what is wrong; decoding never crashes on bad input.
class Image {
public:
    static constexpr uint64_t maximumPixelCount = 16ull * 1024 * 1024;

    // The empty image (0 × 0).
    Image() = default;
    Image(const Image&);
    Image& operator=(const Image&);
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;

    // What a new image's pixels hold: transparency, or whatever the memory
    // held, for a caller that paints every pixel before reading any.
    enum class Contents { Transparent, Unspecified };

    // A new image; sizes below zero or above the bound are refused.
    static foundation::Result<Image> create(int64_t width, int64_t height, Contents = Contents::Transparent);
    // A PNG or a JPEG, told apart by their first bytes.
    static foundation::Result<Image> decode(std::span<const uint8_t> bytes);
    static foundation::Result<Image> load(const std::filesystem::path&);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    uint64_t pixelCount() const { return static_cast<uint64_t>(m_width) * static_cast<uint64_t>(m_height); }

    // Pixels outside the image read as transparent and are not written.
    Pixel pixel(int x, int y) const;
    void setPixel(int x, int y, Pixel);

    // The premultiplied storage; `stride()` bytes per row.
    uint32_t* words() { return m_words.get(); }
    const uint32_t* words() const { return m_words.get(); }
    int stride() const { return m_width * 4; }

    foundation::Result<foundation::Data> encodePng() const;
    // JPEG has no alpha: transparent parts come out as if drawn over black.
    // `quality` runs from 0 to 100; values outside are clamped.
    foundation::Result<foundation::Data> encodeJpeg(int quality) const;
    // Writes the PNG encoding atomically; fails with the reason.
    foundation::Result<void> writePng(const std::filesystem::path&) const;

    // Packs straight components into the storage format, and back.
    static uint32_t premultiply(Pixel);
    static Pixel unpremultiply(uint32_t word);

private:
    struct FreeWords {
        void operator()(uint32_t* words) const { std::free(words); }
    };

    Image(int width, int height, std::unique_ptr<uint32_t, FreeWords>);

    int m_width { 0 };
    int m_height { 0 };
    std::unique_ptr<uint32_t, FreeWords> m_words;
};

} // namespace graphics
