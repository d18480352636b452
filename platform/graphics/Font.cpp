#include "platform/graphics/Font.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <pango/pangocairo.h>

#include "platform/graphics/FontContext.h"

namespace graphics {

namespace {

    constexpr const char* fallbackFamilies = "Inter,DejaVu Sans,sans-serif";

    double clampedSize(double size)
    {
        if (std::isnan(size) || size < 0)
            return 0;
        return std::min(size, Font::maximumSize);
    }

} // namespace

Font::Font(double size, FontWeight weight, std::string family)
    : m_size(clampedSize(size))
    , m_weight(weight)
    , m_family(std::move(family))
{
}

PangoFontDescription* Font::createDescription() const
{
    PangoFontDescription* description = pango_font_description_new();
    std::string families = m_family.empty() ? fallbackFamilies : m_family + "," + fallbackFamilies;
    pango_font_description_set_family(description, families.c_str());
    pango_font_description_set_weight(description, isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    // Absolute sizes are in the layout's units, which are points.
    pango_font_description_set_absolute_size(description, m_size * PANGO_SCALE);
    return description;
}

std::string Font::resolvedFamily() const
{
    PangoFontDescription* description = createDescription();
    // A size of zero would load no font at all; the family is the same at any size.
    pango_font_description_set_absolute_size(description, defaultSize * PANGO_SCALE);
    PangoFont* font = pango_context_load_font(FontContext::current().context(), description);
    pango_font_description_free(description);
    if (!font)
        return {};
    PangoFontDescription* loaded = pango_font_describe(font);
    const char* family = pango_font_description_get_family(loaded);
    std::string result = family ? family : "";
    pango_font_description_free(loaded);
    g_object_unref(font);
    return result;
}

size_t Font::hash() const
{
    size_t seed = std::hash<double>()(m_size);
    seed ^= std::hash<std::string>()(m_family) + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2);
    return seed ^ (isBold() ? 0x51ed27ull : 0);
}

} // namespace graphics
