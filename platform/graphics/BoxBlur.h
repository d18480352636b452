#pragma once

#include "platform/graphics/Image.h"

namespace graphics {

// Blurs the image in place with `passes` box blurs of the given radius in
// each direction; three passes come close to a Gaussian blur with a standard
// deviation of about the radius. Pixels beyond the edges repeat the edge.
// Each pass costs the same whatever the radius.
void boxBlur(Image&, int radius, int passes = 3);

// An image a `factor`-th of the size of the region (x, y, width, height) of
// `source`, each pixel the average of the block it covers. The region must
// lie within the source.
Image downsample(const Image& source, int x, int y, int width, int height, int factor);

} // namespace graphics
