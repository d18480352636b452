#pragma once

#include "platform/uikit/UIControl.h"

namespace uikit {

// An on/off switch, 51 by 31 points whatever frame it is given. Its track
// shows the on tint (else the tint colour, else green) when on. A user's tap
// flips it and sends value-changed; setting it in code sends nothing.
//
// Messages: initWithFrame:, isOn, on, setOn:, setOn:animated:, onTintColor,
// setOnTintColor:.
class UISwitch : public UIControl {
public:
    static constexpr double width = 51;
    static constexpr double height = 31;

    using UIControl::UIControl;

    bool isOn() const { return m_on; }
    void setOn(bool on) { m_on = on; }
    UIColor* onTintColor() const;

    // A user's tap; answers whether the switch took it (see UIControl::tap).
    bool toggle();

    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

protected:
    void touchUpInside(Point) override { toggle(); }

private:
    bool m_on { false };
    runtime::Ref<runtime::Object> m_onTintColor;
};

} // namespace uikit
