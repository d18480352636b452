// PNG and JPEG pictures through the platform's image loader. A picture it
// accepts keeps within the pixel bound and every pixel of it can be read.

#include "platform/graphics/Image.h"

#include <span>

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto image = graphics::Image::decode(std::span(data, size));
    if (!image.isOk()) {
        FUZZ_CHECK(!image.error().message.empty(), "a refusal says why");
        return 0;
    }
    FUZZ_CHECK(image->width() >= 0 && image->height() >= 0, "sizes are not negative");
    FUZZ_CHECK(image->pixelCount() <= graphics::Image::maximumPixelCount, "a picture keeps within the bound");
    // Reading every pixel lets the address sanitizer see storage that is too short.
    uint32_t mixed = 0;
    for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x)
            mixed ^= image->words()[static_cast<size_t>(y) * image->width() + x];
    [[maybe_unused]] static volatile uint32_t seen;
    seen = mixed ^ image->pixel(image->width() - 1, image->height() - 1).alpha;
    return 0;
}
