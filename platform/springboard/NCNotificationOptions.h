#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace springboard {

// How a notification wants to be presented. A banner whose request does not
// dismiss automatically stays until the user acts on it.
class NCNotificationOptions : public runtime::NSObject {
public:
    using NSObject::NSObject;

    bool dismissAutomatically() const { return m_dismissAutomatically; }
    void setDismissAutomatically(bool value) { m_dismissAutomatically = value; }

    static void registerClass(device::Process&);

private:
    bool m_dismissAutomatically { true };
};

} // namespace springboard
