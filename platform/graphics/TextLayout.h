#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextRange.h"

typedef struct _PangoLayout PangoLayout;

namespace graphics {

// As the platform numbers them. Natural follows the writing direction of
// each paragraph; left is left whatever the direction.
enum class TextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

// A stretch of text drawn in a font of its own (a bold name, say). Where runs
// overlap, the later one wins.
struct FontRun {
    TextRange range;
    Font font;
    friend bool operator==(const FontRun&, const FontRun&) = default;
};

struct TextMetrics {
    // The lines drawn: at most the layout's maximum, 0 for empty text.
    int64_t lineCount { 0 };
    // The widest line and the height of all lines drawn, in points.
    double width { 0 };
    double height { 0 };
    friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

// Text to be laid out in lines: its string (UTF-8), its base font, font runs
// in UTF-16 units, its alignment, the width it wraps at and the most lines it
// may take. Lines break between words, and inside a word too long for a line;
// text that needs more lines than allowed ends in an ellipsis on the last
// line it may use.
//
// A layout is a value; measuring and drawing go through a per-thread cache
// (TextMeasurementCache), so laying out an unchanged text again costs a look-up.
class TextLayout {
public:
    // Used for a width that is not bounded, so that Pango can still end a
    // limited number of lines with an ellipsis.
    static constexpr double unboundedWidth = 1e6;

    TextLayout() = default;
    // Text that is not well-formed UTF-8 has its bad bytes replaced.
    explicit TextLayout(std::string text, Font = {});

    const std::string& text() const { return m_text; }
    const Font& font() const { return m_font; }
    void setFont(Font font) { m_font = std::move(font); }
    const std::vector<FontRun>& runs() const { return m_runs; }
    void addRun(TextRange, Font);
    // A run in the base font's family and size, made bold.
    void addBoldRange(TextRange);
    TextAlignment alignment() const { return m_alignment; }
    void setAlignment(TextAlignment alignment) { m_alignment = alignment; }
    // Widths that are zero, negative or not finite mean "not bounded": lines
    // break only where the text has line breaks.
    double width() const { return m_width; }
    void setWidth(double);
    bool hasBoundedWidth() const { return m_width > 0; }
    // Zero (or less) means any number of lines.
    int64_t maximumLines() const { return m_maximumLines; }
    void setMaximumLines(int64_t);

    TextMetrics measure() const;

    // A Pango layout of the text, shared with the cache; nil for empty text.
    std::shared_ptr<PangoLayout> pangoLayout() const;
    // Builds the Pango layout and its metrics without the cache.
    std::shared_ptr<PangoLayout> createPangoLayout(TextMetrics&) const;

    size_t hash() const;
    friend bool operator==(const TextLayout&, const TextLayout&) = default;

private:
    std::string m_text;
    Font m_font;
    std::vector<FontRun> m_runs;
    TextAlignment m_alignment { TextAlignment::Natural };
    double m_width { 0 };
    int64_t m_maximumLines { 0 };
};

} // namespace graphics
