#pragma once

#include "platform/preferences/PSTableCell.h"

namespace preferences {

// The cell of a PSSliderCell specifier: the title at the left, a slider over
// the range "min" to "max" (0 to 1 when not given), and with "showValue" the
// value at the right. With "isSegmented" and a "segmentCount" the slider
// stops only at that many equal steps. A slide hands the value to the
// specifier's target: a whole number as an integer, any other as a real.
class PSSliderTableCell : public PSTableCell {
public:
    using PSTableCell::PSTableCell;

    uikit::UISlider* control() const { return m_slider.get(); }

    // The value a slide to `value` stores: clamped to the range and, for a
    // segmented slider, moved to the nearest step.
    double snapped(double value) const;

    void refreshCellContents() override;
    foundation::Value displayedValue() const override;
    void layoutContent() override;

    static void registerClass(device::Process&);

private:
    void sliderChanged();

    runtime::Ref<uikit::UISlider> m_slider;
    runtime::Ref<uikit::UILabel> m_valueLabel;
};

// A number as the settings pages write it: "5", "0.5".
std::string formatNumber(double);

} // namespace preferences
