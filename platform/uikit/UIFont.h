#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/graphics/Font.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// A font: the system family at a point size, regular or bold. The point size
// is kept as given, even below zero; text layout clamps it where it measures
// and draws (see graphics::Font). Fonts are immutable.
class UIFont : public runtime::NSObject {
public:
    using NSObject::NSObject;

    double pointSize() const { return m_pointSize; }
    bool isBold() const { return m_weight == graphics::FontWeight::Bold; }
    // The font as text layout uses it.
    graphics::Font font() const { return graphics::Font(m_pointSize, m_weight); }

    // A new font of the process's class "UIFont".
    static runtime::Ref<UIFont> make(runtime::Runtime&, double pointSize, graphics::FontWeight);

    static void registerClass(device::Process&);

private:
    static runtime::Ref<UIFont> create(runtime::Class*, double pointSize, graphics::FontWeight);

    double m_pointSize { graphics::Font::defaultSize };
    graphics::FontWeight m_weight { graphics::FontWeight::Regular };
};

} // namespace uikit
