#pragma once

#include <cstddef>
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace graphics {

enum class FontWeight { Regular, Bold };

// A font as text layout asks for it: a family, a size in points and a
// weight. Sizes below zero (or not numbers) are zero, which draws nothing,
// and sizes above `maximumSize` are that size, so no value from a settings
// file can make layout fail or run away.
//
// The family is a preference, never a requirement: the system family is
// Inter, and any family is followed by Inter, DejaVu Sans and whatever
// fontconfig offers as sans-serif, so text always finds a font.
class Font {
public:
    static constexpr double defaultSize = 17;
    static constexpr double maximumSize = 1000;
    static constexpr const char* systemFamily = "Inter";

    Font() = default;
    explicit Font(double size, FontWeight = FontWeight::Regular, std::string family = systemFamily);

    double size() const { return m_size; }
    FontWeight weight() const { return m_weight; }
    bool isBold() const { return m_weight == FontWeight::Bold; }
    const std::string& family() const { return m_family; }

    Font withSize(double size) const { return Font(size, m_weight, m_family); }
    Font withWeight(FontWeight weight) const { return Font(m_size, weight, m_family); }

    // The family fontconfig actually gives for this font on this machine,
    // such as "Inter" or, where Inter is missing, "DejaVu Sans".
    std::string resolvedFamily() const;

    // A new Pango description of the font; the caller frees it.
    PangoFontDescription* createDescription() const;

    size_t hash() const;
    friend bool operator==(const Font&, const Font&) = default;

private:
    double m_size { defaultSize };
    FontWeight m_weight { FontWeight::Regular };
    std::string m_family { systemFamily };
};

} // namespace graphics
