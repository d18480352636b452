#include "platform/preferences/PSSliderTableCell.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/ViewFactory.h"

namespace preferences {

using foundation::Value;
using runtime::Imp;
using runtime::Selector;
using uikit::makeRect;

namespace {

    constexpr double titleShare = 0.38;
    constexpr double valueWidth = 44;
    constexpr int64_t rightAligned = 2;

    double numberOr(const Value& value, double fallback)
    {
        return value.isNumber() && std::isfinite(value.real()) ? value.real() : fallback;
    }

} // namespace

std::string formatNumber(double value)
{
    if (std::isfinite(value) && value == std::round(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<int64_t>(value));
    std::ostringstream text;
    text << value;
    return text.str();
}

double PSSliderTableCell::snapped(double value) const
{
    if (!m_slider)
        return value;
    double minimum = m_slider->minimumValue();
    double maximum = m_slider->maximumValue();
    value = std::clamp(value, minimum, maximum);
    auto* row = specifier();
    if (!row || !row->property("isSegmented").boolean())
        return value;
    int64_t steps = row->property("segmentCount").integer();
    if (steps <= 0 || maximum <= minimum)
        return value;
    double step = (maximum - minimum) / static_cast<double>(steps);
    return minimum + std::round((value - minimum) / step) * step;
}

void PSSliderTableCell::refreshCellContents()
{
    auto& runtime = isa()->runtime();
    if (!m_slider) {
        m_slider = uikit::makeView<uikit::UISlider>(runtime, "UISlider", makeRect(0, 0, 100, uikit::UISlider::height));
        if (!m_slider)
            return;
        m_slider->addTarget(this, SEL("sliderChanged:"), uikit::UIControl::ValueChanged);
        addSubview(m_slider.get());
        m_valueLabel
            = uikit::makeLabel(runtime, {}, 17, graphics::FontWeight::Regular, uikit::systemGray, rightAligned);
        addSubview(m_valueLabel.get());
    }
    PSTableCell::refreshCellContents();
    if (auto* row = specifier()) {
        m_slider->setMinimumValue(numberOr(row->property("min"), 0));
        m_slider->setMaximumValue(numberOr(row->property("max"), 1));
        m_valueLabel->setHidden(!row->property("showValue").boolean());
    }
    m_slider->setValue(numberOr(currentValue(), m_slider->minimumValue()));
    m_valueLabel->setText(displayedValue());
    layoutContent();
}

Value PSSliderTableCell::displayedValue() const
{
    return m_slider ? Value(formatNumber(m_slider->value())) : Value();
}

void PSSliderTableCell::layoutContent()
{
    UITableViewCell::layoutContent();
    if (!m_slider)
        return;
    uikit::Rect area = bounds();
    bool titled = textLabel()->text().isString() && !textLabel()->text().string().empty();
    double left = margin + (titled ? area.width() * titleShare : 0);
    double right = area.width() - margin - (m_valueLabel->isHidden() ? 0 : valueWidth + 8);
    textLabel()->setFrame(makeRect(margin, 0, std::max(0.0, left - margin - 8), area.height()));
    m_slider->setFrame(makeRect(
        left, (area.height() - uikit::UISlider::height) / 2, std::max(0.0, right - left), uikit::UISlider::height));
    m_valueLabel->setFrame(makeRect(area.width() - margin - valueWidth, 0, valueWidth, area.height()));
}

void PSSliderTableCell::sliderChanged()
{
    if (!m_slider)
        return;
    double value = snapped(m_slider->value());
    m_slider->setValue(value);
    m_valueLabel->setText(displayedValue());
    if (!specifier())
        return;
    bool whole = value == std::round(value) && std::fabs(value) < 9e15;
    specifier()->writeValue(whole ? Value(static_cast<int64_t>(value)) : Value(value));
}

void PSSliderTableCell::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<PSSliderTableCell>(process.runtime(), "PSSliderTableCell", "PSTableCell")
        .method(
            "control", Imp::of([](PSSliderTableCell* self, Selector) -> runtime::Object* { return self->control(); }))
        .method("sliderChanged:",
            Imp::of([](PSSliderTableCell* self, Selector, runtime::Object*) { self->sliderChanged(); }));
}

} // namespace preferences
