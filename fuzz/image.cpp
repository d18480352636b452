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
    const graphics::Image& picture = image.value();
    FUZZ_CHECK(picture.width() >= 0 && picture.height() >= 0, "sizes are not negative");
    FUZZ_CHECK(picture.pixelCount() <= graphics::Image::maximumPixelCount, "a picture keeps within the bound");
    // Reading every pixel lets the address sanitizer see storage that is too short.
    std::span words(picture.words(), static_cast<size_t>(picture.pixelCount()));
    uint32_t mixed = 0;
    for (uint32_t word : words)
        mixed ^= word;
    [[maybe_unused]] static volatile uint32_t seen;
    seen = mixed ^ picture.pixel(picture.width() - 1, picture.height() - 1).alpha;
    return 0;
}
