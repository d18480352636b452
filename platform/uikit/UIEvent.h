#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// Something the user did, delivered at a moment of the device clock.
class UIEvent : public runtime::NSObject {
public:
    enum Type : int64_t { Touches = 0, Motion = 1, RemoteControl = 2, Presses = 3 };

    using NSObject::NSObject;

    int64_t type() const { return m_type; }
    double timestamp() const { return m_timestamp; }
    void setTimestamp(double timestamp) { m_timestamp = timestamp; }
    // The touches of a touch event, an array value (empty for other kinds).
    const foundation::Value& allTouches() const { return m_touches; }
    void setTouches(foundation::Value touches) { m_touches = std::move(touches); }

    static void registerClass(device::Process&);

protected:
    int64_t m_type { Touches };
    double m_timestamp { 0 };
    foundation::Value m_touches = foundation::Value::array();
};

} // namespace uikit
