#pragma once

#include "platform/device/Forward.h"
#include "platform/graphics/Color.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// A colour: red, green, blue and alpha, kept exactly as given (the platform's
// extended range allows components outside 0...1); drawing clamps them.
// Colours are immutable.
class UIColor : public runtime::NSObject {
public:
    using NSObject::NSObject;

    double red() const { return m_red; }
    double green() const { return m_green; }
    double blue() const { return m_blue; }
    double alpha() const { return m_alpha; }
    graphics::Color color() const { return { m_red, m_green, m_blue, m_alpha }; }

    // A new colour of the process's class "UIColor".
    static runtime::Ref<UIColor> make(runtime::Runtime&, double red, double green, double blue, double alpha);
    static runtime::Ref<UIColor> make(runtime::Runtime& runtime, graphics::Color color)
    {
        return make(runtime, color.red, color.green, color.blue, color.alpha);
    }

    static void registerClass(device::Process&);

private:
    void set(double red, double green, double blue, double alpha);

    double m_red { 0 };
    double m_green { 0 };
    double m_blue { 0 };
    double m_alpha { 0 };
};

} // namespace uikit
