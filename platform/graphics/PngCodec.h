#pragma once

#include <cstdint>
#include <span>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"

namespace graphics {

// PNG through libpng. Images are read as 8-bit RGBA whatever their stored
// format (palette, grey, 16-bit), and written as 8-bit RGBA.
bool looksLikePng(std::span<const uint8_t>);
foundation::Result<Image> decodePng(std::span<const uint8_t>);
foundation::Result<foundation::Data> encodePng(const Image&);

} // namespace graphics
