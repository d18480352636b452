#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// The phone itself, as the software sees it: the system's name and version
// and how well it can give haptic feedback (0 none, 1 basic, 2 full).
// Its properties can also be read by key (`valueForKey:`, the private
// "_feedbackSupportLevel" among them); an unknown key answers nil.
class UIDevice : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::string systemVersion() const;
    int64_t feedbackSupportLevel() const;
    foundation::Value valueForKey(const foundation::Value& key) const;

    static void registerClass(device::Process&);

private:
    device::Process* m_process { nullptr };
};

} // namespace uikit
