#include "platform/uikit/UIScreen.h"

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UITraitCollection.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Rect UIScreen::bounds() const
{
    if (!m_process)
        return {};
    auto& hardware = m_process->device().hardware();
    return makeRect(0, 0, hardware.screenWidth, hardware.screenHeight);
}

double UIScreen::scale() const
{
    return m_process ? m_process->device().hardware().screenScale : 1;
}

int64_t UIScreen::userInterfaceStyle() const
{
    if (!m_process)
        return UITraitCollection::Light;
    bool dark = m_process->device().hardware().style == device::Hardware::Style::Dark;
    return dark ? UITraitCollection::Dark : UITraitCollection::Light;
}

void UIScreen::registerClass(device::Process& process)
{
    auto* owner = &process;
    runtime::ClassBuilder::define<UIScreen>(process.runtime(), "UIScreen", "NSObject")
        .method("init", Imp::of([owner](UIScreen* self, Selector) -> Object* {
            self->m_process = owner;
            self->m_reportedStyle = self->userInterfaceStyle();
            return self;
        }))
        .method("bounds", Imp::of(&UIScreen::bounds))
        .method("scale", Imp::of(&UIScreen::scale))
        .method("traitCollection", Imp::of([owner](UIScreen* self, Selector) -> Ref<Object> {
            return UITraitCollection::make(owner->runtime(), self->userInterfaceStyle());
        }))
        .classMethod("mainScreen",
            Imp::of([owner](Object*, Selector) -> Object* { return UIKitState::of(*owner).mainScreen(); }));
}

} // namespace uikit
