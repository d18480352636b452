#pragma once

#include <cstdint>
#include <span>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"

namespace graphics {

// JPEG through libjpeg-turbo. Decoding accepts baseline and progressive
// files in grey, YCbCr or RGB; encoding writes baseline YCbCr with 4:2:0
// subsampling, as the platform's own encoder does.
bool looksLikeJpeg(std::span<const uint8_t>);
foundation::Result<Image> decodeJpeg(std::span<const uint8_t>);
foundation::Result<foundation::Data> encodeJpeg(const Image&, int quality);

} // namespace graphics
