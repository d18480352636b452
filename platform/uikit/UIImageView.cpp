#include "platform/uikit/UIImageView.h"

#include "platform/device/Process.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/GraphicsGeometry.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void UIImageView::setImage(UIImage* image)
{
    std::optional<Size> previous = intrinsicContentSize(0);
    m_image = image;
    if (intrinsicContentSize(0) != previous)
        invalidateIntrinsicContentSize();
}

std::optional<Size> UIImageView::intrinsicContentSize(double) const
{
    if (!m_image)
        return std::nullopt;
    return m_image->size();
}

void UIImageView::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    if (!m_image || !m_image->bitmap())
        return;
    canvas.drawImage(*m_image->bitmap(), m_image->scale(), toGraphicsRect(size),
        static_cast<graphics::ContentMode>(std::clamp<int64_t>(contentMode(), 0, 12)), alpha);
}

void UIImageView::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UIImageView>(process.runtime(), "UIImageView", "UIView");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithFrame:", Imp::of([cls](UIImageView* self, Selector selector, Rect frame) -> Ref<Object> {
            auto initialized = sendSuper<Ref<Object>>(*cls, self, selector, frame);
            if (initialized)
                self->setUserInteractionEnabled(false);
            return initialized;
        }))
        .method("initWithImage:", Imp::of([](UIImageView* self, Selector, UIImage* picture) -> Ref<Object> {
            Size size = picture ? picture->size() : Size {};
            auto initialized = runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), Rect { {}, size });
            if (initialized)
                self->setImage(picture);
            return initialized;
        }))
        .method("image", Imp::of([](UIImageView* self, Selector) -> Object* { return self->image(); }))
        .method("setImage:", Imp::of([](UIImageView* self, Selector, UIImage* image) { self->setImage(image); }));
}

} // namespace uikit
