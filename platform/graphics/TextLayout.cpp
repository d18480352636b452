#include "platform/graphics/TextLayout.h"

#include <climits>
#include <cmath>
#include <functional>
#include <pango/pangocairo.h>

#include "platform/graphics/FontContext.h"
#include "platform/graphics/TextMeasurementCache.h"

namespace graphics {

namespace {

    std::string wellFormed(std::string text)
    {
        if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
            return text;
        gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
        std::string result(valid);
        g_free(valid);
        return result;
    }

    void applyRuns(PangoLayout* layout, const std::string& text, const std::vector<FontRun>& runs)
    {
        if (runs.empty())
            return;
        PangoAttrList* attributes = pango_attr_list_new();
        for (const auto& run : runs) {
            ByteRange bytes = byteRangeOf(text, run.range);
            if (bytes.begin >= bytes.end)
                continue;
            PangoFontDescription* description = run.font.createDescription();
            PangoAttribute* attribute = pango_attr_font_desc_new(description);
            pango_font_description_free(description);
            attribute->start_index = static_cast<guint>(bytes.begin);
            attribute->end_index = static_cast<guint>(bytes.end);
            // Unlike insertion, a change replaces what earlier runs set over the same stretch.
            pango_attr_list_change(attributes, attribute);
        }
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }

    void applyAlignment(PangoLayout* layout, TextAlignment alignment, bool boundedWidth)
    {
        if (!boundedWidth)
            alignment = TextAlignment::Left;
        pango_layout_set_auto_dir(layout, alignment == TextAlignment::Natural || alignment == TextAlignment::Justified);
        pango_layout_set_justify(layout, alignment == TextAlignment::Justified);
        switch (alignment) {
        case TextAlignment::Center:
            pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
            break;
        case TextAlignment::Right:
            pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
            break;
        default:
            pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
            break;
        }
    }

    // Keeps the first `maximumLines` lines, the last of them ending in an
    // ellipsis. Pango's own line limit counts lines per paragraph, so the limit
    // is given as the height down to the last line kept.
    void limitLines(PangoLayout* layout, int64_t maximumLines)
    {
        if (maximumLines <= 0 || pango_layout_get_line_count(layout) <= maximumLines)
            return;
        PangoLayoutIter* iterator = pango_layout_get_iter(layout);
        for (int64_t line = 1; line < maximumLines; ++line)
            pango_layout_iter_next_line(iterator);
        int top = 0;
        int bottom = 0;
        pango_layout_iter_get_line_yrange(iterator, &top, &bottom);
        pango_layout_iter_free(iterator);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout, bottom);
    }

} // namespace

TextLayout::TextLayout(std::string text, Font font)
    : m_text(wellFormed(std::move(text)))
    , m_font(std::move(font))
{
}

void TextLayout::addRun(TextRange range, Font font)
{
    m_runs.push_back({ range, std::move(font) });
}

void TextLayout::addBoldRange(TextRange range)
{
    addRun(range, m_font.withWeight(FontWeight::Bold));
}

void TextLayout::setWidth(double width)
{
    m_width = std::isfinite(width) && width > 0 ? std::min(width, unboundedWidth) : 0;
}

void TextLayout::setMaximumLines(int64_t lines)
{
    m_maximumLines = std::max<int64_t>(lines, 0);
}

TextMetrics TextLayout::measure() const
{
    return TextMeasurementCache::current().entryFor(*this).metrics;
}

std::shared_ptr<PangoLayout> TextLayout::pangoLayout() const
{
    return TextMeasurementCache::current().entryFor(*this).layout;
}

std::shared_ptr<PangoLayout> TextLayout::createPangoLayout(TextMetrics& metrics) const
{
    metrics = {};
    if (m_text.empty())
        return nullptr;
    std::shared_ptr<PangoLayout> layout(pango_layout_new(FontContext::current().context()), g_object_unref);
    PangoLayout* raw = layout.get();
    pango_layout_set_text(raw, m_text.data(), static_cast<int>(std::min<size_t>(m_text.size(), INT_MAX)));
    PangoFontDescription* description = m_font.createDescription();
    pango_layout_set_font_description(raw, description);
    pango_font_description_free(description);
    applyRuns(raw, m_text, m_runs);
    applyAlignment(raw, m_alignment, hasBoundedWidth());
    pango_layout_set_width(raw, static_cast<int>((hasBoundedWidth() ? m_width : unboundedWidth) * PANGO_SCALE));
    pango_layout_set_wrap(raw, PANGO_WRAP_WORD_CHAR);
    limitLines(raw, m_maximumLines);

    PangoRectangle logical {};
    pango_layout_get_extents(raw, nullptr, &logical);
    metrics.lineCount = pango_layout_get_line_count(raw);
    metrics.width = static_cast<double>(logical.width) / PANGO_SCALE;
    metrics.height = static_cast<double>(logical.height) / PANGO_SCALE;
    return layout;
}

size_t TextLayout::hash() const
{
    auto combine
        = [](size_t seed, size_t value) { return seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2)); };
    size_t seed = std::hash<std::string>()(m_text);
    seed = combine(seed, m_font.hash());
    for (const auto& run : m_runs) {
        seed = combine(seed, std::hash<uint64_t>()(run.range.location));
        seed = combine(seed, std::hash<uint64_t>()(run.range.length));
        seed = combine(seed, run.font.hash());
    }
    seed = combine(seed, static_cast<size_t>(m_alignment));
    seed = combine(seed, std::hash<double>()(m_width));
    return combine(seed, std::hash<int64_t>()(m_maximumLines));
}

} // namespace graphics
