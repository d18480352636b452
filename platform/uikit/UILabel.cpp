#include "platform/uikit/UILabel.h"

#include <cmath>

#include "platform/device/Process.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Canvas.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewLayoutState.h"

namespace uikit {

using foundation::Value;
using graphics::TextAlignment;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    TextAlignment alignmentOf(int64_t value)
    {
        if (value >= 0 && value <= static_cast<int64_t>(TextAlignment::Natural))
            return static_cast<TextAlignment>(value);
        return TextAlignment::Natural;
    }

    // The style the label is shown in: that of the nearest controller whose
    // view holds it, else the screen's; light outside a window.
    int64_t styleOf(const UIView& view)
    {
        auto* window = dynamic_cast<UIWindow*>(view.window());
        if (!window || !window->process())
            return UITraitCollection::Light;
        auto* screen = UIKitState::of(*window->process()).mainScreen();
        int64_t screenStyle = screen ? screen->userInterfaceStyle() : UITraitCollection::Light;
        for (const UIView* ancestor = &view; ancestor; ancestor = ancestor->superview()) {
            if (auto* controller = ancestor->viewController())
                return controller->effectiveUserInterfaceStyle(screenStyle);
        }
        return screenStyle;
    }

} // namespace

void UILabel::contentDidChange()
{
    m_measurement.reset();
    invalidateIntrinsicContentSize();
}

Value UILabel::text() const
{
    return m_text;
}

void UILabel::setText(const Value& text)
{
    m_text = text.isString() ? text : Value();
    m_attributedText = nullptr;
    contentDidChange();
}

Ref<NSAttributedString> UILabel::attributedText() const
{
    if (m_attributedText)
        return m_attributedText;
    if (m_text.isNil())
        return nullptr;
    std::string string = m_text.string();
    uint64_t length = foundation::text::utf16Length(string);
    return NSAttributedString::make(isa()->runtime(), std::move(string),
        { { { 0, length }, NSAttributedString::fontAttributeName, Value(static_cast<Object*>(font())) } });
}

void UILabel::setAttributedText(NSAttributedString* text)
{
    // The label keeps a copy, as the platform does, so later changes to a
    // mutable original do not reach it behind its back.
    m_attributedText = text ? NSAttributedString::copyOf(isa()->runtime(), *text) : nullptr;
    m_text = m_attributedText ? Value(m_attributedText->string()) : Value();
    contentDidChange();
}

UIFont* UILabel::font() const
{
    if (!m_font)
        m_font = UIFont::make(isa()->runtime(), graphics::Font::defaultSize, graphics::FontWeight::Regular);
    return m_font.get();
}

void UILabel::setFont(UIFont* font)
{
    m_font = font;
    if (m_attributedText)
        m_attributedText
            = NSAttributedString::copyOf(isa()->runtime(), *m_attributedText, NSAttributedString::fontAttributeName);
    contentDidChange();
}

UIColor* UILabel::textColor() const
{
    if (m_textColor)
        return m_textColor.get();
    // The system's label colour, which follows the style it is shown in.
    double shade = styleOf(*this) == UITraitCollection::Dark ? 1 : 0;
    if (!m_labelColor || m_labelColor->red() != shade)
        m_labelColor = UIColor::make(isa()->runtime(), shade, shade, shade, 1);
    return m_labelColor.get();
}

void UILabel::setTextColor(UIColor* color)
{
    m_textColor = color;
}

void UILabel::setTextAlignment(int64_t alignment)
{
    m_textAlignment = alignment;
    contentDidChange();
}

void UILabel::setNumberOfLines(int64_t lines)
{
    m_numberOfLines = lines;
    contentDidChange();
}

const std::string& UILabel::string() const
{
    return m_attributedText ? m_attributedText->string() : m_text.string();
}

graphics::TextLayout UILabel::textLayout(double width) const
{
    UIFont* base = font();
    graphics::TextLayout layout(string(), base ? base->font() : graphics::Font());
    if (m_attributedText) {
        for (auto& run : m_attributedText->fontRuns())
            layout.addRun(run.range, run.font);
    }
    layout.setAlignment(alignmentOf(m_textAlignment));
    layout.setWidth(width);
    layout.setMaximumLines(m_numberOfLines);
    return layout;
}

graphics::TextMetrics UILabel::metricsAt(double width) const
{
    if (string().empty())
        return {};
    if (m_measurement && m_measurement->width == width)
        return m_measurement->metrics;
    graphics::TextMetrics metrics = textLayout(width).measure();
    m_measurement = Measurement { width, metrics };
    return metrics;
}

int64_t UILabel::measuredNumberOfLines() const
{
    return metricsAt(bounds().size.width).lineCount;
}

std::optional<Size> UILabel::intrinsicContentSize(double availableWidth) const
{
    graphics::TextMetrics metrics = metricsAt(availableWidth);
    return Size { metrics.width, metrics.height };
}

void UILabel::drawContent(graphics::Canvas& canvas, const Size& size, double alpha) const
{
    if (string().empty() || !(size.width > 0))
        return;
    graphics::TextLayout layout = textLayout(size.width);
    graphics::TextMetrics metrics = layout.measure();
    // Lines that do not fit in the height are left out, the last one kept
    // ending in an ellipsis; a single line too tall still shows, centred.
    if (metrics.lineCount > 1 && metrics.height > size.height + 0.5) {
        double lineHeight = metrics.height / static_cast<double>(metrics.lineCount);
        layout.setMaximumLines(
            std::max<int64_t>(1, static_cast<int64_t>(std::floor((size.height + 0.5) / lineHeight))));
        metrics = layout.measure();
    }
    UIColor* color = textColor();
    graphics::Color ink = color ? color->color() : graphics::Color { 0, 0, 0, 1 };
    canvas.drawText(layout, { 0, (size.height - metrics.height) / 2 }, ink.withAlphaMultiplied(alpha));
}

UILabel::UILabel(runtime::Class* cls)
    : UIView(cls)
{
    setUserInteractionEnabled(false);
}

void UILabel::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UILabel>(process.runtime(), "UILabel", "UIView")
        .method("text", Imp::of(&UILabel::text))
        .method("setText:", Imp::of(&UILabel::setText))
        .method(
            "attributedText", Imp::of([](UILabel* self, Selector) -> Ref<Object> { return self->attributedText(); }))
        .method("setAttributedText:",
            Imp::of([](UILabel* self, Selector, NSAttributedString* text) { self->setAttributedText(text); }))
        .method("font", Imp::of([](UILabel* self, Selector) -> Object* { return self->font(); }))
        .method("setFont:", Imp::of([](UILabel* self, Selector, UIFont* font) { self->setFont(font); }))
        .method("textColor", Imp::of([](UILabel* self, Selector) -> Object* { return self->textColor(); }))
        .method("setTextColor:", Imp::of([](UILabel* self, Selector, UIColor* color) { self->setTextColor(color); }))
        .method("textAlignment", Imp::of(&UILabel::textAlignment))
        .method("setTextAlignment:", Imp::of(&UILabel::setTextAlignment))
        .method("numberOfLines", Imp::of(&UILabel::numberOfLines))
        .method("setNumberOfLines:", Imp::of(&UILabel::setNumberOfLines))
        .method("_measuredNumberOfLines", Imp::of(&UILabel::measuredNumberOfLines))
        .method("sizeThatFits:", Imp::of([](UILabel* self, Selector, Size size) {
            return self->intrinsicContentSize(size.width).value_or(Size {});
        }));
}

} // namespace uikit
