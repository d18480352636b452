#include "platform/uikit/UIImage.h"

#include <algorithm>

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Ref;

Ref<UIImage> UIImage::make(runtime::Runtime& runtime, Size size, double scale, std::string path, foundation::Data data)
{
    auto image = instantiate<UIImage>(runtime, "UIImage");
    if (!image)
        return nullptr;
    image->m_size = { std::max(size.width, 0.0), std::max(size.height, 0.0) };
    image->m_scale = scale > 0 ? scale : 1;
    image->m_path = std::move(path);
    image->m_data = std::move(data);
    return image;
}

void UIImage::registerClass(device::Process& process)
{
    ClassBuilder::define<UIImage>(process.runtime(), "UIImage", "NSObject")
        .method("size", Imp::of(&UIImage::size))
        .method("scale", Imp::of(&UIImage::scale));
}

} // namespace uikit
