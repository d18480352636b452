#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// Plays the haptic patterns that confirm the outcome of a task. `prepare`
// readies the engine; `notificationOccurred:` plays the pattern of one
// outcome (0 success, 1 warning, 2 error), which the trace records as
// `feedback` of kind "notification" with the outcome as value. Other values
// play nothing.
//
// Messages: -prepare, -notificationOccurred:(int64)
class UINotificationFeedbackGenerator : public runtime::NSObject {
public:
    enum FeedbackType : int64_t { Success = 0, Warning = 1, Error = 2 };

    using NSObject::NSObject;

    bool isPrepared() const { return m_prepared; }

    static void registerClass(device::Process&);

private:
    void notificationOccurred(device::Process&, int64_t type);

    bool m_prepared { false };
};

} // namespace uikit
