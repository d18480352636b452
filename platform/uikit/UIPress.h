#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// One press of a physical button: which button (`type`), how far along it
// is (`phase`: 0 began, 1 changed, 2 stationary, 3 ended, 4 cancelled) and
// how hard it is pressed (`force`, 0 to 1).
class UIPress : public runtime::NSObject {
public:
    enum Phase : int64_t { Began = 0, Changed = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

    using NSObject::NSObject;

    int64_t type() const { return m_type; }
    int64_t phase() const { return m_phase; }
    double force() const { return m_force; }

    static runtime::Ref<UIPress> make(runtime::Runtime&, int64_t type, double force, int64_t phase = Began);

    static void registerClass(device::Process&);

private:
    int64_t m_type { 0 };
    int64_t m_phase { Began };
    double m_force { 0 };
};

} // namespace uikit
