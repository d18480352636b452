#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// An object in the chain that events travel along. Each kind of responder
// answers `nextResponder` in its own way; the chain ends with nil.
class UIResponder : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // The responder after this one, asked through the run time.
    runtime::Ref<runtime::Object> nextResponder();

    static void registerClass(device::Process&);
};

} // namespace uikit
