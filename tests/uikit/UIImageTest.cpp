#include "platform/uikit/UIImage.h"

#include <fstream>
#include <gtest/gtest.h>

#include "platform/uikit/UIImageView.h"

#include "tests/uikit/UIKitTestProcess.h"

using foundation::Data;
using runtime::Object;
using runtime::Ref;
using runtime::send;
using runtime::Value;
using uikit::UIImage;

namespace {

graphics::Image checkerboard(int width, int height)
{
    graphics::Image image = graphics::Image::create(width, height).value();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool dark = ((x / 4) + (y / 4)) % 2 == 0;
            image.setPixel(x, y, dark ? graphics::Pixel { 20, 20, 20, 255 } : graphics::Pixel { 240, 200, 10, 255 });
        }
    }
    return image;
}

// Writes bytes at a device path, making its folders.
void writeDeviceFile(UIKitTestProcess& test, const std::string& devicePath, const Data& bytes)
{
    auto path = test.device().hostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Ref<Object> imageWithContentsOfFile(UIKitTestProcess& test, const std::string& devicePath)
{
    return send<Ref<Object>>(test.runtime().classNamed("UIImage"), SEL("imageWithContentsOfFile:"), Value(devicePath));
}

Ref<Object> imageWithData(UIKitTestProcess& test, const Value& data)
{
    return send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("UIImage")), SEL("initWithData:"), data);
}

} // namespace

TEST(UIImage, readsPicturesFromDevicePathsAtTheScaleTheirNamesState)
{
    UIKitTestProcess test;
    Data png = checkerboard(30, 12).encodePng().value();
    writeDeviceFile(test, "/var/mobile/Pictures/board.png", png);
    writeDeviceFile(test, "/var/mobile/Pictures/board@3x.png", png);
    writeDeviceFile(test, "/var/mobile/Pictures/board.jpg", checkerboard(30, 12).encodeJpeg(90).value());

    auto plain = imageWithContentsOfFile(test, "/var/mobile/Pictures/board.png");
    ASSERT_TRUE(plain);
    auto size = send<uikit::Size>(plain, SEL("size"));
    EXPECT_NEAR(size.width, 30, 1e-12);
    EXPECT_NEAR(size.height, 12, 1e-12);
    EXPECT_EQ(dynamic_cast<UIImage*>(plain.get())->bitmap()->pixel(1, 1), (graphics::Pixel { 20, 20, 20, 255 }));

    auto tripled = imageWithContentsOfFile(test, "/var/mobile/Pictures/board@3x.png");
    ASSERT_TRUE(tripled);
    EXPECT_NEAR(send<uikit::Size>(tripled, SEL("size")).width, 10, 1e-12);
    EXPECT_NEAR(send<double>(tripled, SEL("scale")), 3, 1e-12);

    auto jpeg = imageWithContentsOfFile(test, "/var/mobile/Pictures/board.jpg");
    ASSERT_TRUE(jpeg);
    EXPECT_NEAR(send<uikit::Size>(jpeg, SEL("size")).height, 12, 1e-12);
}

TEST(UIImage, answersNilForWhatIsNotAPicture)
{
    UIKitTestProcess test;
    writeDeviceFile(test, "/var/mobile/notes.txt", Data { 'h', 'i' });
    EXPECT_FALSE(imageWithContentsOfFile(test, "/var/mobile/notes.txt"));
    EXPECT_FALSE(imageWithContentsOfFile(test, "/var/mobile/missing.png"));
    EXPECT_FALSE(imageWithContentsOfFile(test, "relative/path.png"));
    EXPECT_FALSE(imageWithContentsOfFile(test, "/../../etc/passwd"));
    EXPECT_FALSE(imageWithData(test, Value(Data { 0x89, 'P', 'N', 'G', 1, 2, 3 })));
    EXPECT_FALSE(imageWithData(test, Value("not data")));
    EXPECT_FALSE(imageWithData(test, Value()));

    auto decoded = imageWithData(test, Value(checkerboard(8, 8).encodePng().value()));
    ASSERT_TRUE(decoded);
    EXPECT_NEAR(send<uikit::Size>(decoded, SEL("size")).width, 8, 1e-12);
    auto empty = runtime::newObject(test.runtime().classNamed("UIImage"));
    EXPECT_NEAR(send<uikit::Size>(empty, SEL("size")).width, 0, 1e-12);
}

TEST(UIImage, encodesAsJpegAtAQualityBetweenZeroAndOne)
{
    UIKitTestProcess test;
    auto image = UIImage::make(test.runtime(), checkerboard(40, 40));
    Value full = uikit::jpegRepresentation(image.get(), 1.0);
    Value low = uikit::jpegRepresentation(image.get(), 0.1);
    ASSERT_TRUE(full.isData());
    ASSERT_TRUE(low.isData());
    EXPECT_LT(low.data().size(), full.data().size());
    // Qualities beyond 1 are full quality, so the platform's "100" means the best.
    EXPECT_EQ(uikit::jpegRepresentation(image.get(), 100).data(), full.data());
    auto decoded = graphics::Image::decode(full.data());
    ASSERT_TRUE(decoded.isOk());
    EXPECT_EQ(decoded->width(), 40);

    EXPECT_TRUE(uikit::jpegRepresentation(nullptr, 1).isNil());
    auto empty = runtime::newObject(test.runtime().classNamed("UIImage"));
    EXPECT_TRUE(uikit::jpegRepresentation(empty.get(), 1).isNil());
    EXPECT_TRUE(uikit::jpegRepresentation(test.makeView().get(), 1).isNil());
    EXPECT_TRUE(uikit::pngRepresentation(image.get()).isData());
}

TEST(UIImageView, takesThePicturesSizeAndShowsItWithoutTakingTouches)
{
    UIKitTestProcess test;
    auto image = UIImage::make(test.runtime(), checkerboard(30, 12), 2);
    auto view = send<Ref<Object>>(
        runtime::alloc(test.runtime().classNamed("UIImageView")), SEL("initWithImage:"), image.get());
    auto frame = send<uikit::Rect>(view, SEL("frame"));
    EXPECT_NEAR(frame.width(), 15, 1e-12);
    EXPECT_NEAR(frame.height(), 6, 1e-12);
    EXPECT_EQ(send<Ref<Object>>(view, SEL("image")).get(), image.get());
    EXPECT_FALSE(send<bool>(view, SEL("isUserInteractionEnabled")));
    auto* cpp = dynamic_cast<uikit::UIImageView*>(view.get());
    EXPECT_NEAR(cpp->intrinsicContentSize(500)->width, 15, 1e-12);
    send(view, SEL("setImage:"), nullptr);
    EXPECT_FALSE(cpp->intrinsicContentSize(500).has_value());
    auto withoutImage
        = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("UIImageView")), SEL("initWithImage:"), nullptr);
    EXPECT_NEAR(send<uikit::Rect>(withoutImage, SEL("frame")).width(), 0, 1e-12);
}
