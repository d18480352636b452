#include "platform/graphics/Image.h"

#include <array>
#include <fstream>
#include <gtest/gtest.h>

#include "tests/support/TempDirectory.h"

using foundation::Data;
using graphics::Image;
using graphics::Pixel;

namespace {

Image makeImage(int width, int height)
{
    auto image = Image::create(width, height);
    EXPECT_TRUE(image.isOk());
    return std::move(image).value();
}

// Four quadrants of distinct colours, so a transposed or mirrored decode shows.
Image quadrants(int size)
{
    Image image = makeImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            bool right = x >= size / 2;
            bool bottom = y >= size / 2;
            Pixel pixel = !bottom ? (right ? Pixel { 0, 0, 255, 255 } : Pixel { 255, 0, 0, 255 })
                                  : (right ? Pixel { 255, 255, 255, 255 } : Pixel { 0, 160, 0, 255 });
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

void expectPixelNear(const Pixel& actual, const Pixel& expected, int tolerance)
{
    EXPECT_NEAR(actual.red, expected.red, tolerance);
    EXPECT_NEAR(actual.green, expected.green, tolerance);
    EXPECT_NEAR(actual.blue, expected.blue, tolerance);
    EXPECT_NEAR(actual.alpha, expected.alpha, tolerance);
}

void writeFile(const std::filesystem::path& path, const Data& bytes)
{
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint32_t crc32(const uint8_t* bytes, size_t length)
{
    uint32_t crc = 0xffffffff;
    for (size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

void appendBigEndian(Data& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void appendChunk(Data& bytes, const char* type, const Data& payload)
{
    appendBigEndian(bytes, static_cast<uint32_t>(payload.size()));
    Data checked(type, type + 4);
    checked.insert(checked.end(), payload.begin(), payload.end());
    bytes.insert(bytes.end(), checked.begin(), checked.end());
    appendBigEndian(bytes, crc32(checked.data(), checked.size()));
}

// A well-formed PNG up to its first data chunk that declares width × height
// pixels but carries almost no data, as a decompression bomb does.
Data pngDeclaring(uint32_t width, uint32_t height)
{
    Data bytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    Data header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), { 8, 6, 0, 0, 0 });
    appendChunk(bytes, "IHDR", header);
    appendChunk(bytes, "IDAT", { 0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01 });
    appendChunk(bytes, "IEND", {});
    return bytes;
}

} // namespace

TEST(Image, roundTripsThroughPngFiles)
{
    TempDirectory folder;
    Image image = quadrants(8);
    image.setPixel(1, 1, { 200, 100, 50, 128 });
    image.setPixel(2, 1, { 0, 0, 0, 0 });
    auto path = folder.path() / "quadrants.png";
    ASSERT_TRUE(image.writePng(path));

    auto loaded = Image::load(path);
    ASSERT_TRUE(loaded.isOk()) << loaded.error().message;
    ASSERT_EQ(loaded->width(), 8);
    ASSERT_EQ(loaded->height(), 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(loaded->pixel(x, y), image.pixel(x, y)) << x << "," << y;
    }
    // Half-transparent colours survive premultiplication within a step or two.
    expectPixelNear(loaded->pixel(1, 1), { 200, 100, 50, 128 }, 2);
}

TEST(Image, roundTripsThroughJpegFilesAtAQuality)
{
    TempDirectory folder;
    Image image = quadrants(32);
    auto high = image.encodeJpeg(95);
    auto low = image.encodeJpeg(5);
    ASSERT_TRUE(high.isOk());
    ASSERT_TRUE(low.isOk());
    EXPECT_LT(low->size(), high->size());

    auto path = folder.path() / "quadrants.jpg";
    writeFile(path, high.value());
    auto loaded = Image::load(path);
    ASSERT_TRUE(loaded.isOk()) << loaded.error().message;
    ASSERT_EQ(loaded->width(), 32);
    ASSERT_EQ(loaded->height(), 32);
    // Away from the edges between quadrants, lossy coding stays close.
    expectPixelNear(loaded->pixel(4, 4), { 255, 0, 0, 255 }, 12);
    expectPixelNear(loaded->pixel(27, 4), { 0, 0, 255, 255 }, 12);
    expectPixelNear(loaded->pixel(4, 27), { 0, 160, 0, 255 }, 12);
    expectPixelNear(loaded->pixel(27, 27), { 255, 255, 255, 255 }, 12);
}

TEST(Image, jpegDrawsTransparencyOverBlackAndClampsItsQuality)
{
    Image image = makeImage(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, { 255, 255, 255, 128 });
    }
    auto bytes = image.encodeJpeg(500);
    ASSERT_TRUE(bytes.isOk());
    EXPECT_EQ(bytes.value(), image.encodeJpeg(100).value());
    auto decoded = Image::decode(bytes.value());
    ASSERT_TRUE(decoded.isOk());
    expectPixelNear(decoded->pixel(8, 8), { 128, 128, 128, 255 }, 3);
    EXPECT_TRUE(image.encodeJpeg(-3).isOk());
}

TEST(Image, refusesPicturesOverSixteenMegapixelsBeforeAllocating)
{
    auto png = Image::decode(pngDeclaring(20000, 20000));
    ASSERT_FALSE(png.isOk());
    EXPECT_NE(png.error().message.find("16-megapixel"), std::string::npos) << png.error().message;

    // The same header at a modest size is read up to its (empty) data.
    auto modest = Image::decode(pngDeclaring(20, 20));
    ASSERT_FALSE(modest.isOk());
    EXPECT_EQ(modest.error().message.find("16-megapixel"), std::string::npos);

    // A real JPEG whose frame header is rewritten to claim 20000 × 20000.
    Data jpeg = quadrants(16).encodeJpeg(80).value();
    bool patched = false;
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0) {
            // Height, then width, each 16 bits big-endian.
            for (size_t field : { i + 5, i + 7 }) {
                jpeg[field] = 20000 >> 8;
                jpeg[field + 1] = 20000 & 0xff;
            }
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    auto bomb = Image::decode(jpeg);
    ASSERT_FALSE(bomb.isOk());
    EXPECT_NE(bomb.error().message.find("16-megapixel"), std::string::npos) << bomb.error().message;

    EXPECT_FALSE(Image::create(5000, 5000).isOk());
    EXPECT_FALSE(Image::create(-1, 10).isOk());
    EXPECT_TRUE(Image::create(4096, 4096).isOk());
}

TEST(Image, refusesGarbageTruncatedAndMissingFilesWithAReason)
{
    // Each input is refused with a message instead of a crash or a blank picture.
    Data png = quadrants(16).encodePng().value();
    Data jpegMagic { 0xff, 0xd8, 0xff, 0x00, 0x13, 0x37 };
    Data pngMagic(png.begin(), png.begin() + 8);
    pngMagic.insert(pngMagic.end(), { 1, 2, 3, 4, 5, 6, 7 });
    Data truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    const std::array<Data, 5> inputs { Data {}, Data { 'h', 'e', 'l', 'l', 'o' }, jpegMagic, pngMagic, truncated };
    for (const auto& input : inputs) {
        auto image = Image::decode(input);
        ASSERT_FALSE(image.isOk());
        EXPECT_FALSE(image.error().message.empty());
    }

    TempDirectory folder;
    auto missing = Image::load(folder.path() / "missing.png");
    ASSERT_FALSE(missing.isOk());
    EXPECT_NE(missing.error().message.find("missing.png"), std::string::npos);
    EXPECT_FALSE(Image().writePng(folder.path() / "empty.png"));
}

TEST(Image, readsAndWritesPixelsWithinItsBoundsOnly)
{
    Image image = makeImage(2, 2);
    image.setPixel(-1, 0, { 255, 255, 255, 255 });
    image.setPixel(2, 2, { 255, 255, 255, 255 });
    image.setPixel(1, 0, { 10, 20, 30, 255 });
    EXPECT_EQ(image.pixel(1, 0), (Pixel { 10, 20, 30, 255 }));
    EXPECT_EQ(image.pixel(0, 0), Pixel {});
    EXPECT_EQ(image.pixel(5, 5), Pixel {});
    Image copy = image;
    copy.setPixel(1, 0, {});
    EXPECT_EQ(image.pixel(1, 0), (Pixel { 10, 20, 30, 255 }));
}
