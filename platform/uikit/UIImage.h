#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// A picture: its decoded pixels, its scale (pixels per point), and where it
// came from (a device path) or its encoded bytes. Its size is in points: the
// pixels divided by the scale. An image made without pixels (`UIImage new`,
// or `make` with a size only) has no bitmap and draws nothing.
//
// Decoding accepts PNG and JPEG (see graphics::Image) and refuses anything
// else, damaged files and pictures over 16 megapixels: the initialisers then
// answer nil, as the platform's do.
class UIImage : public runtime::NSObject {
public:
    using NSObject::NSObject;

    Size size() const { return m_size; }
    double scale() const { return m_scale; }
    const std::string& path() const { return m_path; }
    const foundation::Data& data() const { return m_data; }
    // The decoded pixels, shared between the copies of one picture; nil when there are none.
    const std::shared_ptr<const graphics::Image>& bitmap() const { return m_bitmap; }

    // A new image of the process's class "UIImage"; sizes below zero count as zero.
    static runtime::Ref<UIImage> make(
        runtime::Runtime&, Size, double scale = 1, std::string path = {}, foundation::Data data = {});
    // A new image showing `bitmap` at `scale` pixels per point.
    static runtime::Ref<UIImage> make(runtime::Runtime&, graphics::Image bitmap, double scale = 1);

    // The scale a file name states, as "icon@3x.png" states 3; 1 for other names.
    static double scaleOfFileName(std::string_view path);

    static void registerClass(device::Process&);

private:
    void setBitmap(std::shared_ptr<const graphics::Image>, double scale);

    Size m_size;
    double m_scale { 1 };
    std::string m_path;
    foundation::Data m_data;
    std::shared_ptr<const graphics::Image> m_bitmap;
};

// The JPEG encoding of `image` (a UIImage) at `quality` from 0 to 1 (values
// beyond are clamped, so 100 means full quality), as the platform's
// UIImageJPEGRepresentation; nil for nil, for anything else than an image and
// for an image without pixels.
foundation::Value jpegRepresentation(runtime::Object* image, double quality);
// The same as PNG (UIImagePNGRepresentation).
foundation::Value pngRepresentation(runtime::Object* image);

} // namespace uikit
