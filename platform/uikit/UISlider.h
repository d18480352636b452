#pragma once

#include "platform/uikit/UIControl.h"

namespace uikit {

// A value between a minimum and a maximum, chosen by sliding a knob along a
// track. The value always lies within the range; setting it outside clamps
// it. The part of the track left of the knob shows the tint colour. A
// user's slide sends value-changed; setting the value in code sends nothing.
//
// Messages: value, setValue:, setValue:animated:, minimumValue,
// setMinimumValue:, maximumValue, setMaximumValue:, isContinuous, setContinuous:.
class UISlider : public UIControl {
public:
    static constexpr double height = 31;
    static constexpr double knobSize = 28;

    using UIControl::UIControl;

    double value() const { return m_value; }
    void setValue(double);
    double minimumValue() const { return m_minimum; }
    void setMinimumValue(double);
    double maximumValue() const { return m_maximum; }
    void setMaximumValue(double);

    // A user's slide to `value` (clamped); answers whether the slider took it.
    bool slide(double value);

    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

protected:
    // A finger on the slider carries the knob: its centre follows the
    // finger along the track, while it moves (when continuous) and where it lifts.
    void trackTouch(Point) override;
    void touchUpInside(Point) override;

private:
    // The value whose knob is centred under `point`, clamped to the range.
    double valueAt(Point) const;

    double m_value { 0 };
    double m_minimum { 0 };
    double m_maximum { 1 };
    bool m_continuous { true };
};

} // namespace uikit
