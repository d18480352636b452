#include "platform/graphics/FontContext.h"

#include <pango/pangocairo.h>

namespace graphics {

FontContext& FontContext::current()
{
    thread_local FontContext context;
    return context;
}

FontContext::FontContext()
    : m_fontMap(pango_cairo_font_map_new())
    , m_context(pango_font_map_create_context(m_fontMap))
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(m_context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(m_context, FALSE);
}

FontContext::~FontContext()
{
    g_object_unref(m_context);
    g_object_unref(m_fontMap);
}

} // namespace graphics
