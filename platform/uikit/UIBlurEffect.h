#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// A blur of what lies behind a visual-effect view, tinted by its style (a
// UIBlurEffectStyle: extra light 0, light 1, dark 2, regular 4, or any other
// number the platform knows). Effects are immutable.
//
// Run-time classes: UIVisualEffect and its subclass UIBlurEffect. Messages:
// +effectWithStyle:, style.
class UIBlurEffect : public runtime::NSObject {
public:
    using NSObject::NSObject;

    int64_t style() const { return m_style; }

    static runtime::Ref<UIBlurEffect> make(runtime::Runtime&, int64_t style);

    static void registerClass(device::Process&);

private:
    int64_t m_style { 0 };
};

} // namespace uikit
