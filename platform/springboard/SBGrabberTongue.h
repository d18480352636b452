#pragma once

#include <optional>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace springboard {

// The small tongue at a screen edge that the user pulls to bring in a
// system panel. The system shows it with `presentAnimated:` and takes it
// away with `dismissWithStyle:animated:`, which answers whether a visible
// tongue was dismissed.
//
// Messages: -presentAnimated:(bool), -dismissWithStyle:(int64)animated:(bool) -> bool, -isVisible -> bool
class SBGrabberTongue : public runtime::NSObject {
public:
    using NSObject::NSObject;

    bool isVisible() const { return m_visible; }
    // The style of the last dismissal that took the tongue away, if any.
    std::optional<int64_t> lastDismissalStyle() const { return m_lastDismissalStyle; }

    static void registerClass(device::Process&);

private:
    bool dismiss(int64_t style, bool animated);

    bool m_visible { false };
    std::optional<int64_t> m_lastDismissalStyle;
};

} // namespace springboard
