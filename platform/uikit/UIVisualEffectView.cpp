#include "platform/uikit/UIVisualEffectView.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIBlurEffect.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

UIVisualEffectView::~UIVisualEffectView() = default;

void UIVisualEffectView::setUp()
{
    runtime::Runtime& runtime = isa()->runtime();
    auto content
        = runtime::send<Ref<Object>>(runtime::alloc(runtime.classNamed("UIView")), SEL("initWithFrame:"), bounds());
    m_contentView = dynamic_cast<UIView*>(content.get());
    if (m_contentView) {
        m_contentView->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
        addSubview(m_contentView.get());
    }
}

void UIVisualEffectView::setEffect(UIBlurEffect* effect)
{
    m_effect = effect;
}

std::optional<int64_t> UIVisualEffectView::blurStyle() const
{
    if (!m_effect)
        return std::nullopt;
    return m_effect->style();
}

void UIVisualEffectView::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UIVisualEffectView>(process.runtime(), "UIVisualEffectView", "UIView");
    runtime::Class* cls = &builder.cls();
    builder
        .method(
            "initWithFrame:", Imp::of([cls](UIVisualEffectView* self, Selector selector, Rect frame) -> Ref<Object> {
                auto result = sendSuper<Ref<Object>>(*cls, self, selector, frame);
                if (auto* view = dynamic_cast<UIVisualEffectView*>(result.get()))
                    view->setUp();
                return result;
            }))
        .method("initWithEffect:", Imp::of([](UIVisualEffectView* self, Selector, UIBlurEffect* effect) -> Ref<Object> {
            auto result = runtime::send<Ref<Object>>(self, SEL("initWithFrame:"), Rect {});
            if (auto* view = dynamic_cast<UIVisualEffectView*>(result.get()))
                view->setEffect(effect);
            return result;
        }))
        .method("effect", Imp::of([](UIVisualEffectView* self, Selector) -> Object* { return self->effect(); }))
        .method("setEffect:",
            Imp::of([](UIVisualEffectView* self, Selector, UIBlurEffect* effect) { self->setEffect(effect); }))
        .method(
            "contentView", Imp::of([](UIVisualEffectView* self, Selector) -> Object* { return self->contentView(); }));
}

} // namespace uikit
