#include "platform/uikit/UITextField.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/TextLayout.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr double defaultFontSize = 17;
    constexpr double borderInset = 7;

    enum VerticalAlignment : int64_t { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

    // The length of the last UTF-8 character of `text`.
    size_t lastCharacterLength(const std::string& text)
    {
        size_t length = 1;
        while (length < text.size() && (static_cast<unsigned char>(text[text.size() - length]) & 0xC0) == 0x80)
            ++length;
        return std::min(length, text.size());
    }

} // namespace

UITextField::~UITextField() = default;

void UITextField::setUp()
{
    runtime::Runtime& runtime = isa()->runtime();
    m_font = UIFont::make(runtime, defaultFontSize, graphics::FontWeight::Regular);
    m_textColor = UIColor::make(runtime, 0, 0, 0, 1);
    m_placeholderColor = UIColor::make(runtime, 0.24, 0.24, 0.26, 0.3);
    auto label
        = runtime::send<Ref<Object>>(runtime::alloc(runtime.classNamed("UILabel")), SEL("initWithFrame:"), bounds());
    m_label = dynamic_cast<UILabel*>(label.get());
    if (m_label) {
        m_label->setUserInteractionEnabled(false);
        addSubview(m_label.get());
    }
    updateDisplay();
}

void UITextField::setText(const Value& text)
{
    m_text = text.string();
    updateDisplay();
}

void UITextField::setPlaceholder(const Value& placeholder)
{
    m_placeholder = placeholder.isString() ? placeholder : Value();
    updateDisplay();
}

void UITextField::setFont(UIFont* font)
{
    if (!font)
        font = UIFont::make(isa()->runtime(), defaultFontSize, graphics::FontWeight::Regular).get();
    m_font = font;
    updateDisplay();
}

void UITextField::setTextColor(UIColor* color)
{
    m_textColor = color ? color : UIColor::make(isa()->runtime(), 0, 0, 0, 1).get();
    updateDisplay();
}

void UITextField::setTextAlignment(int64_t alignment)
{
    m_textAlignment = alignment;
    updateDisplay();
}

void UITextField::setBorderStyle(int64_t style)
{
    m_borderStyle = style;
    updateDisplay();
}

void UITextField::controlStateDidChange()
{
    updateDisplay();
}

double UITextField::horizontalInset() const
{
    return m_borderStyle == 0 ? 0 : borderInset;
}

double UITextField::lineHeight() const
{
    graphics::Font font = m_font ? m_font->font() : graphics::Font(defaultFontSize);
    return graphics::TextLayout("Mg", font).measure().height;
}

void UITextField::updateDisplay()
{
    if (!m_label)
        return;
    bool showsPlaceholder = m_text.empty();
    m_label->setText(showsPlaceholder ? m_placeholder : Value(m_text));
    m_label->setTextColor(showsPlaceholder ? m_placeholderColor.get() : m_textColor.get());
    m_label->setFont(m_font.get());
    m_label->setTextAlignment(m_textAlignment);

    // The label keeps its place through later size changes by its mask.
    Size size = bounds().size;
    double inset = horizontalInset();
    double width = size.width - 2 * inset;
    double height = std::min(lineHeight(), size.height);
    switch (contentVerticalAlignment()) {
    case Top:
        m_label->setFrame(makeRect(inset, 0, width, height));
        m_label->setAutoresizingMask(FlexibleWidth | FlexibleBottomMargin);
        break;
    case Bottom:
        m_label->setFrame(makeRect(inset, size.height - height, width, height));
        m_label->setAutoresizingMask(FlexibleWidth | FlexibleTopMargin);
        break;
    default:
        // The label draws its text centred in its bounds.
        m_label->setFrame(makeRect(inset, 0, width, size.height));
        m_label->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
        break;
    }
    invalidateIntrinsicContentSize();
}

std::optional<Size> UITextField::intrinsicContentSize(double availableWidth) const
{
    Size size { 0, lineHeight() };
    if (m_label) {
        if (auto text = m_label->intrinsicContentSize(availableWidth))
            size.width = text->width;
    }
    size.width += 2 * horizontalInset();
    return size;
}

uint64_t UITextField::intrinsicContentGeneration() const
{
    return UIControl::intrinsicContentGeneration() + (m_label ? m_label->intrinsicContentGeneration() : 0);
}

bool UITextField::askDelegate(Selector question)
{
    Ref<Object> delegate = m_delegate.strong();
    if (!delegate || !runtime::respondsToSelector(delegate.get(), question))
        return true;
    return runtime::send<bool>(delegate.get(), question, static_cast<Object*>(this));
}

void UITextField::tellDelegate(Selector news)
{
    Ref<Object> delegate = m_delegate.strong();
    if (delegate && runtime::respondsToSelector(delegate.get(), news))
        runtime::send(delegate.get(), news, static_cast<Object*>(this));
}

bool UITextField::canBecomeFirstResponder() const
{
    return isEnabled() && window();
}

bool UITextField::isFirstResponder() const
{
    UIWindow* window = this->window();
    return window && window->firstResponder() == this;
}

bool UITextField::becomeFirstResponder()
{
    if (isFirstResponder())
        return true;
    if (!canBecomeFirstResponder() || !askDelegate(SEL("textFieldShouldBeginEditing:")))
        return false;
    Ref<UITextField> protect(this);
    UIWindow* window = this->window();
    if (Ref<UIResponder> current = window->firstResponder()) {
        runtime::send<bool>(current.get(), SEL("resignFirstResponder"));
        if (window->firstResponder() == current.get())
            return false;
    }
    if (this->window() != window)
        return false;
    window->setFirstResponder(this);
    sendActionsForControlEvents(EditingDidBegin);
    tellDelegate(SEL("textFieldDidBeginEditing:"));
    return true;
}

bool UITextField::resignFirstResponder()
{
    if (!isFirstResponder())
        return true;
    if (!askDelegate(SEL("textFieldShouldEndEditing:")))
        return false;
    Ref<UITextField> protect(this);
    window()->setFirstResponder(nullptr);
    sendActionsForControlEvents(EditingDidEnd);
    tellDelegate(SEL("textFieldDidEndEditing:"));
    return true;
}

bool UITextField::insertText(const std::string& text)
{
    if (!isFirstResponder() || text.empty())
        return false;
    m_text += text;
    updateDisplay();
    sendActionsForControlEvents(EditingChanged);
    return true;
}

bool UITextField::deleteBackward()
{
    if (!isFirstResponder() || m_text.empty())
        return false;
    m_text.erase(m_text.size() - lastCharacterLength(m_text));
    updateDisplay();
    sendActionsForControlEvents(EditingChanged);
    return true;
}

bool UITextField::pressReturnKey()
{
    if (!isFirstResponder() || !askDelegate(SEL("textFieldShouldReturn:")))
        return false;
    Ref<UITextField> protect(this);
    bool dismissesKeyboard = hasActions(EditingDidEndOnExit);
    sendActionsForControlEvents(EditingDidEndOnExit);
    if (dismissesKeyboard)
        resignFirstResponder();
    return true;
}

void UITextField::registerClass(device::Process& process)
{
    auto builder = runtime::ClassBuilder::define<UITextField>(process.runtime(), "UITextField", "UIControl");
    runtime::Class* cls = &builder.cls();
    builder
        .method("initWithFrame:", Imp::of([cls](UITextField* self, Selector selector, Rect frame) -> Ref<Object> {
            auto result = sendSuper<Ref<Object>>(*cls, self, selector, frame);
            if (auto* field = dynamic_cast<UITextField*>(result.get()))
                field->setUp();
            return result;
        }))
        .method("text", Imp::of([](UITextField* self, Selector) { return Value(self->text()); }))
        .method("setText:", Imp::of(&UITextField::setText))
        .method("placeholder", Imp::of([](UITextField* self, Selector) { return self->placeholder(); }))
        .method("setPlaceholder:", Imp::of(&UITextField::setPlaceholder))
        .method("font", Imp::of([](UITextField* self, Selector) -> Object* { return self->font(); }))
        .method("setFont:", Imp::of([](UITextField* self, Selector, UIFont* font) { self->setFont(font); }))
        .method("textColor", Imp::of([](UITextField* self, Selector) -> Object* { return self->textColor(); }))
        .method(
            "setTextColor:", Imp::of([](UITextField* self, Selector, UIColor* color) { self->setTextColor(color); }))
        .method("textAlignment", Imp::of(&UITextField::textAlignment))
        .method("setTextAlignment:", Imp::of(&UITextField::setTextAlignment))
        .method("borderStyle", Imp::of(&UITextField::borderStyle))
        .method("setBorderStyle:", Imp::of(&UITextField::setBorderStyle))
        .method("keyboardType", Imp::of(&UITextField::keyboardType))
        .method("setKeyboardType:", Imp::of(&UITextField::setKeyboardType))
        .method("returnKeyType", Imp::of(&UITextField::returnKeyType))
        .method("setReturnKeyType:", Imp::of(&UITextField::setReturnKeyType))
        .method("delegate", Imp::of([](UITextField* self, Selector) -> Object* { return self->delegate(); }))
        .method("setDelegate:", Imp::of(&UITextField::setDelegate))
        .method("isEditing", Imp::of(&UITextField::isEditing))
        .method("canBecomeFirstResponder", Imp::of(&UITextField::canBecomeFirstResponder))
        .method("isFirstResponder", Imp::of(&UITextField::isFirstResponder))
        .method("becomeFirstResponder", Imp::of(&UITextField::becomeFirstResponder))
        .method("resignFirstResponder", Imp::of(&UITextField::resignFirstResponder))
        .method("insertText:",
            Imp::of([](UITextField* self, Selector, const Value& text) { self->insertText(text.string()); }))
        .method("deleteBackward", Imp::of([](UITextField* self, Selector) { self->deleteBackward(); }));
}

} // namespace uikit
