#pragma once

#include <string>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIControl.h"

namespace uikit {

// A one-line text entry field. Its text is shown by a label subview (the
// placeholder, in grey, while the text is empty), placed by the content's
// vertical alignment. A window has at most one first responder; the field
// becomes it only while it is in a window and enabled, asking the window's
// current one to resign first.
//
// Control events: editing-did-begin (65536) when it becomes first
// responder, editing-changed (131072) for each edit typed, editing-did-end
// (262144) when it resigns, editing-did-end-on-exit (524288) when the return
// key is pressed; when that event has an action, the field then resigns, as
// the platform dismisses the keyboard. A delegate that answers
// textFieldShouldBeginEditing:, textFieldShouldEndEditing: or
// textFieldShouldReturn: with NO stops the step; textFieldDidBeginEditing:
// and textFieldDidEndEditing: follow the events.
//
// Messages: text (never nil: "" when empty), setText:, placeholder,
// setPlaceholder:, font, setFont:, textColor, setTextColor:, textAlignment,
// setTextAlignment:, borderStyle, setBorderStyle:, keyboardType,
// setKeyboardType:, returnKeyType, setReturnKeyType:, delegate, setDelegate:
// (held weakly), isEditing, canBecomeFirstResponder, becomeFirstResponder,
// resignFirstResponder, isFirstResponder, insertText:, deleteBackward, and
// UIControl's.
class UITextField : public UIControl {
public:
    using UIControl::UIControl;
    ~UITextField() override;

    const std::string& text() const { return m_text; }
    void setText(const foundation::Value&);
    const foundation::Value& placeholder() const { return m_placeholder; }
    void setPlaceholder(const foundation::Value&);
    UIFont* font() const { return m_font.get(); }
    void setFont(UIFont*);
    UIColor* textColor() const { return m_textColor.get(); }
    void setTextColor(UIColor*);
    int64_t textAlignment() const { return m_textAlignment; }
    void setTextAlignment(int64_t);
    int64_t borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int64_t);
    int64_t keyboardType() const { return m_keyboardType; }
    void setKeyboardType(int64_t type) { m_keyboardType = type; }
    int64_t returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(int64_t type) { m_returnKeyType = type; }
    runtime::Object* delegate() const { return m_delegate.get(); }
    void setDelegate(runtime::Object* delegate) { m_delegate = delegate; }

    bool canBecomeFirstResponder() const;
    bool isFirstResponder() const;
    bool isEditing() const { return isFirstResponder(); }
    bool becomeFirstResponder();
    bool resignFirstResponder();

    // What the keyboard does, for the simulator: typing text at the end,
    // deleting the last character, pressing the return key. They act only
    // on the first responder; each answers whether it did.
    bool insertText(const std::string&);
    bool deleteBackward();
    bool pressReturnKey();

    // The label that shows the text.
    UILabel* textLabel() const { return m_label.get(); }

    std::optional<Size> intrinsicContentSize(double availableWidth) const override;
    uint64_t intrinsicContentGeneration() const override;

    static void registerClass(device::Process&);

protected:
    void controlStateDidChange() override;

private:
    void setUp();
    bool askDelegate(runtime::Selector);
    void tellDelegate(runtime::Selector);
    double horizontalInset() const;
    double lineHeight() const;
    // Shows the text (or placeholder) and places the label.
    void updateDisplay();

    std::string m_text;
    foundation::Value m_placeholder;
    runtime::Ref<UIFont> m_font;
    runtime::Ref<UIColor> m_textColor;
    runtime::Ref<UIColor> m_placeholderColor;
    int64_t m_textAlignment { 4 };
    int64_t m_borderStyle { 0 };
    int64_t m_keyboardType { 0 };
    int64_t m_returnKeyType { 0 };
    runtime::WeakRef<runtime::Object> m_delegate;
    runtime::Ref<UILabel> m_label;
};

} // namespace uikit
