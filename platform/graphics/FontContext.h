#pragma once

typedef struct _PangoContext PangoContext;
typedef struct _PangoFontMap PangoFontMap;

namespace graphics {

// The Pango context every text layout of a thread is made in. Its metrics are
// linear (no hinting of metrics, glyph positions not rounded), so a layout
// measures the same whatever scale it is later drawn at: the lines a label
// measures are the lines it draws.
class FontContext {
public:
    static FontContext& current();

    PangoContext* context() const { return m_context; }

    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;
    ~FontContext();

private:
    FontContext();

    PangoFontMap* m_fontMap { nullptr };
    PangoContext* m_context { nullptr };
};

} // namespace graphics
