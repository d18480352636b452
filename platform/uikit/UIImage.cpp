#include "platform/uikit/UIImage.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using foundation::Data;
using foundation::Value;
using runtime::Class;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    std::shared_ptr<const graphics::Image> decoded(std::span<const uint8_t> bytes)
    {
        auto image = graphics::Image::decode(bytes);
        if (!image)
            return nullptr;
        return std::make_shared<const graphics::Image>(std::move(image).value());
    }

    std::shared_ptr<const graphics::Image> loaded(const std::filesystem::path& path)
    {
        if (path.empty())
            return nullptr;
        auto image = graphics::Image::load(path);
        if (!image)
            return nullptr;
        return std::make_shared<const graphics::Image>(std::move(image).value());
    }

} // namespace

void UIImage::setBitmap(std::shared_ptr<const graphics::Image> bitmap, double scale)
{
    m_bitmap = std::move(bitmap);
    m_scale = std::isfinite(scale) && scale > 0 ? scale : 1;
    m_size = m_bitmap ? Size { m_bitmap->width() / m_scale, m_bitmap->height() / m_scale } : Size {};
}

Ref<UIImage> UIImage::make(runtime::Runtime& runtime, Size size, double scale, std::string path, Data data)
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

Ref<UIImage> UIImage::make(runtime::Runtime& runtime, graphics::Image bitmap, double scale)
{
    auto image = instantiate<UIImage>(runtime, "UIImage");
    if (image)
        image->setBitmap(std::make_shared<const graphics::Image>(std::move(bitmap)), scale);
    return image;
}

double UIImage::scaleOfFileName(std::string_view path)
{
    std::string stem = std::filesystem::path(path).stem().string();
    if (stem.size() >= 3 && stem.back() == 'x' && stem[stem.size() - 3] == '@') {
        char digit = stem[stem.size() - 2];
        if (digit >= '1' && digit <= '9')
            return digit - '0';
    }
    return 1;
}

void UIImage::registerClass(device::Process& process)
{
    auto* owner = &process;
    auto initWithContentsOfFile = [owner](UIImage* self, Selector, const Value& path) -> Object* {
        auto bitmap = loaded(owner->device().hostPath(path.string()));
        if (!bitmap)
            return nullptr;
        self->setBitmap(std::move(bitmap), scaleOfFileName(path.string()));
        self->m_path = path.string();
        return self;
    };
    auto initWithData = [](UIImage* self, Selector, const Value& data) -> Object* {
        auto bitmap = data.isData() ? decoded(data.data()) : nullptr;
        if (!bitmap)
            return nullptr;
        self->setBitmap(std::move(bitmap), 1);
        self->m_data = data.data();
        return self;
    };
    runtime::ClassBuilder::define<UIImage>(process.runtime(), "UIImage", "NSObject")
        .method("initWithContentsOfFile:", Imp::of(initWithContentsOfFile))
        .method("initWithData:", Imp::of(initWithData))
        .method("size", Imp::of(&UIImage::size))
        .method("scale", Imp::of(&UIImage::scale))
        .classMethod("imageWithContentsOfFile:", Imp::of([](Class* cls, Selector, const Value& path) -> Ref<Object> {
            return runtime::send<Ref<Object>>(runtime::alloc(cls), SEL("initWithContentsOfFile:"), path);
        }))
        .classMethod("imageWithData:", Imp::of([](Class* cls, Selector, const Value& data) -> Ref<Object> {
            return runtime::send<Ref<Object>>(runtime::alloc(cls), SEL("initWithData:"), data);
        }));
}

Value jpegRepresentation(Object* object, double quality)
{
    auto* image = dynamic_cast<UIImage*>(object);
    if (!image || !image->bitmap())
        return {};
    double clamped = std::isnan(quality) ? 0 : std::clamp(quality, 0.0, 1.0);
    auto bytes = image->bitmap()->encodeJpeg(static_cast<int>(std::lround(clamped * 100)));
    return bytes ? Value(std::move(bytes).value()) : Value();
}

Value pngRepresentation(Object* object)
{
    auto* image = dynamic_cast<UIImage*>(object);
    if (!image || !image->bitmap())
        return {};
    auto bytes = image->bitmap()->encodePng();
    return bytes ? Value(std::move(bytes).value()) : Value();
}

} // namespace uikit
