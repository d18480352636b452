#pragma once

#include <map>

#include "platform/uikit/UIControl.h"

namespace uikit {

// A control that shows a title, in a colour, for each control state; a state
// without its own title or colour shows the normal state's. The title is
// shown by the button's title label, a subview that fills the button and
// centres the text; the title label's font is the system font of size 15 and
// can be changed through it.
//
// Messages: +buttonWithType: (0 custom: white titles; 1 system: titles in the
// tint colour, grey while disabled), buttonType, setTitle:forState:,
// titleForState:, currentTitle, setTitleColor:forState:, titleColorForState:,
// currentTitleColor, titleLabel, and UIControl's.
class UIButton : public UIControl {
public:
    enum class ButtonType : int64_t { Custom = 0, System = 1 };

    using UIControl::UIControl;
    ~UIButton() override;

    ButtonType buttonType() const { return m_buttonType; }
    foundation::Value titleForState(uint64_t state) const;
    void setTitle(const foundation::Value&, uint64_t state);
    UIColor* titleColorForState(uint64_t state) const;
    void setTitleColor(UIColor*, uint64_t state);
    UILabel* titleLabel() const { return m_titleLabel.get(); }

    // The title label's size.
    std::optional<Size> intrinsicContentSize(double availableWidth) const override;
    uint64_t intrinsicContentGeneration() const override;

    static void registerClass(device::Process&);

protected:
    void controlStateDidChange() override;

private:
    void setUp(ButtonType);
    // Shows the title and colour of the current state.
    void updateTitle();

    ButtonType m_buttonType { ButtonType::Custom };
    std::map<uint64_t, foundation::Value> m_titles;
    std::map<uint64_t, runtime::Ref<UIColor>> m_titleColors;
    runtime::Ref<UILabel> m_titleLabel;
};

} // namespace uikit
