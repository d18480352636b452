#include "platform/uikit/UISlider.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Process.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/ViewFactory.h"

namespace uikit {

using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

void UISlider::setValue(double value)
{
    if (std::isnan(value))
        return;
    m_value = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
}

// The platform keeps the range ordered: a minimum above the maximum raises the maximum, and the reverse.
void UISlider::setMinimumValue(double minimum)
{
    if (!std::isfinite(minimum))
        return;
    m_minimum = minimum;
    m_maximum = std::max(m_maximum, minimum);
    setValue(m_value);
}

void UISlider::setMaximumValue(double maximum)
{
    if (!std::isfinite(maximum))
        return;
    m_maximum = maximum;
    m_minimum = std::min(m_minimum, maximum);
    setValue(m_value);
}

bool UISlider::slide(double value)
{
    if (!canTakeTouches() || std::isnan(value))
        return false;
    Ref<UISlider> protect(this);
    setValue(value);
    sendActionsForControlEvents(ValueChanged);
    return true;
}

double UISlider::valueAt(Point point) const
{
    double usable = bounds().width() - knobSize;
    double fraction = usable > 0 ? std::clamp((point.x - knobSize / 2) / usable, 0.0, 1.0) : 0;
    return m_minimum + fraction * (m_maximum - m_minimum);
}

void UISlider::trackTouch(Point point)
{
    if (m_continuous)
        slide(valueAt(point));
    else
        setValue(valueAt(point));
}

void UISlider::touchUpInside(Point point)
{
    slide(valueAt(point));
    UIControl::touchUpInside(point);
}

void UISlider::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    constexpr double knob = knobSize;
    constexpr double track = 4;
    double span = m_maximum - m_minimum;
    double fraction = span > 0 ? (m_value - m_minimum) / span : 0;
    double usable = std::max(0.0, size.width - knob);
    double centre = knob / 2 + usable * fraction;
    double middle = size.height / 2;
    graphics::Color tint = tintColor() ? tintColor()->color() : systemBlue;
    canvas.fill({ { knob / 2, middle - track / 2, usable, track }, track / 2 },
        graphics::Color { 0.47, 0.47, 0.5, 0.25 }.withAlphaMultiplied(alpha));
    canvas.fill(
        { { knob / 2, middle - track / 2, centre - knob / 2, track }, track / 2 }, tint.withAlphaMultiplied(alpha));
    canvas.fill({ { centre - knob / 2, middle - knob / 2, knob, knob }, knob / 2 },
        graphics::Color { 0.85, 0.85, 0.85, alpha });
    canvas.fill({ { centre - knob / 2 + 0.5, middle - knob / 2 + 0.5, knob - 1, knob - 1 }, knob / 2 },
        graphics::Color { 1, 1, 1, alpha });
}

void UISlider::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UISlider>(process.runtime(), "UISlider", "UIControl")
        .method("value", Imp::of(&UISlider::value))
        .method("setValue:", Imp::of(&UISlider::setValue))
        .method(
            "setValue:animated:", Imp::of([](UISlider* self, Selector, double value, bool) { self->setValue(value); }))
        .method("minimumValue", Imp::of(&UISlider::minimumValue))
        .method("setMinimumValue:", Imp::of(&UISlider::setMinimumValue))
        .method("maximumValue", Imp::of(&UISlider::maximumValue))
        .method("setMaximumValue:", Imp::of(&UISlider::setMaximumValue))
        .property("isContinuous", "setContinuous:", &UISlider::m_continuous);
}

} // namespace uikit
