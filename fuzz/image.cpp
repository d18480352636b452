// PNG and JPEG pictures through the platform's image loader. A picture it
// accepts keeps within the pixel bound and every pixel of it can be read.

#include "platform/graphics/Image.h"

#include <span>

#include "fuzz/FuzzCheck.h"

namespace {

// Reads every pixel, so that the address sanitizer sees storage that is too
// short. The loop stays out of the coverage that steers the fuzzer: counting
// each of up to 16 million comparisons cost more than the decoding itself.
#if defined(__clang__)
#define BRIX_NO_COVERAGE __attribute__((no_sanitize("coverage"), noinline))
#else
#define BRIX_NO_COVERAGE
#endif

BRIX_NO_COVERAGE uint32_t mixOf(const uint32_t* words, size_t count)
{
    uint32_t mixed = 0;
    for (size_t i = 0; i < count; ++i)
        mixed ^= words[i];
    return mixed;
}

} // namespace

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
    uint32_t mixed = mixOf(picture.words(), static_cast<size_t>(picture.pixelCount()));
    [[maybe_unused]] static volatile uint32_t seen;
    seen = mixed ^ picture.pixel(picture.width() - 1, picture.height() - 1).alpha;
    return 0;
}
