#include "platform/uikit/UISwitch.h"

#include "platform/device/Process.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

UIColor* UISwitch::onTintColor() const
{
    return dynamic_cast<UIColor*>(m_onTintColor.get());
}

bool UISwitch::toggle()
{
    if (!canTakeTouches())
        return false;
    Ref<UISwitch> protect(this);
    m_on = !m_on;
    sendActionsForControlEvents(ValueChanged);
    return true;
}

void UISwitch::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    graphics::Color track { 0.47, 0.47, 0.5, 0.16 };
    if (m_on) {
        track = systemGreen;
        if (UIColor* color = onTintColor())
            track = color->color();
        else if (UIColor* color = tintColor())
            track = color->color();
    }
    if (!isEnabled())
        alpha *= 0.5;
    graphics::Rect box { 0, (size.height - height) / 2, width, height };
    canvas.fill({ box, height / 2 }, track.withAlphaMultiplied(alpha));
    double knob = height - 4;
    double x = m_on ? width - knob - 2 : 2;
    canvas.fill({ { x, box.y + 2, knob, knob }, knob / 2 }, graphics::Color { 1, 1, 1, alpha });
}

void UISwitch::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UISwitch>(process.runtime(), "UISwitch", "UIControl");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithFrame:", Imp::of([cls](UISwitch* self, Selector selector, Rect frame) -> Ref<Object> {
            frame.size = { width, height };
            return sendSuper<Ref<Object>>(*cls, self, selector, frame);
        }))
        .method("isOn", Imp::of(&UISwitch::isOn))
        .method("on", Imp::of(&UISwitch::isOn))
        .method("setOn:", Imp::of(&UISwitch::setOn))
        .method("setOn:animated:", Imp::of([](UISwitch* self, Selector, bool on, bool) { self->setOn(on); }))
        .method("onTintColor", Imp::of([](UISwitch* self, Selector) { return self->m_onTintColor; }))
        .method("setOnTintColor:",
            Imp::of([](UISwitch* self, Selector, UIColor* color) { self->m_onTintColor = Ref<Object>(color); }));
}

} // namespace uikit
