#pragma once

#include <optional>

#include "platform/foundation/Value.h"
#include "platform/graphics/TextLayout.h"
#include "platform/uikit/UIView.h"

namespace uikit {

// A view that shows text: plain text in one font, or an attributed text
// whose font runs ("NSFont") override the label's font over their ranges.
// Text is laid out with Pango at the label's width, at most `numberOfLines`
// lines (0: any number), the last one ending in an ellipsis when the text
// needs more; it is drawn centred vertically in the bounds.
//
// As on the platform: a new label shows nothing, in the system font of size
// 17, black, with natural alignment and one line. Setting the text drops the
// attributed text; setting the attributed text sets the text to its string;
// setting the font applies it to the whole of the attributed text too.
class UILabel : public UIView {
public:
    // A label takes no touches unless told to, as on the platform.
    explicit UILabel(runtime::Class*);

    // The label's string, or nil.
    foundation::Value text() const;
    void setText(const foundation::Value&);
    // The attributed text given (a copy of it), or, for plain text, the text
    // in the label's font; nil without text.
    runtime::Ref<NSAttributedString> attributedText() const;
    void setAttributedText(NSAttributedString*);
    UIFont* font() const;
    void setFont(UIFont*);
    UIColor* textColor() const;
    void setTextColor(UIColor*);
    // An NSTextAlignment; unknown values align naturally.
    int64_t textAlignment() const { return m_textAlignment; }
    void setTextAlignment(int64_t);
    int64_t numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int64_t);

    // The layout of the label's text at `width` (zero or less: unbounded).
    graphics::TextLayout textLayout(double width) const;
    // The lines the text takes at the label's current width, within the line
    // limit; 0 for no text. Measured once per change of text, font, limit or width.
    int64_t measuredNumberOfLines() const;

    std::optional<Size> intrinsicContentSize(double availableWidth) const override;
    void drawContent(graphics::Canvas&, const Size& size, double alpha) const override;

    static void registerClass(device::Process&);

private:
    struct Measurement {
        double width;
        graphics::TextMetrics metrics;
    };

    const std::string& string() const;
    graphics::TextMetrics metricsAt(double width) const;
    void contentDidChange();

    foundation::Value m_text;
    runtime::Ref<NSAttributedString> m_attributedText;
    mutable runtime::Ref<UIFont> m_font;
    mutable runtime::Ref<UIColor> m_textColor;
    int64_t m_textAlignment { static_cast<int64_t>(graphics::TextAlignment::Natural) };
    int64_t m_numberOfLines { 1 };
    mutable std::optional<Measurement> m_measurement;
};

} // namespace uikit
