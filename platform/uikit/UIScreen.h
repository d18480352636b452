#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// The device's screen, read from its hardware settings: its size in points,
// its scale and the interface style the user chose.
class UIScreen : public runtime::NSObject {
public:
    using NSObject::NSObject;

    Rect bounds() const;
    double scale() const;
    // 1 (light) or 2 (dark), as the hardware is set now.
    int64_t userInterfaceStyle() const;

    // The style the process's controllers were last told about.
    int64_t reportedUserInterfaceStyle() const { return m_reportedStyle; }
    void setReportedUserInterfaceStyle(int64_t style) { m_reportedStyle = style; }

    static void registerClass(device::Process&);

private:
    device::Process* m_process { nullptr };
    int64_t m_reportedStyle { 0 };
};

} // namespace uikit
