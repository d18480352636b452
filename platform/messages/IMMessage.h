#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace messages {

// A message of the Messages service: its text and the service's flags,
// passed on as given.
//
// Messages: +instantMessageWithText:(Value)flags:(uint64) -> object, -text, -flags -> uint64
class IMMessage : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& text() const { return m_text; }
    uint64_t flags() const { return m_flags; }

    static void registerClass(device::Process&);

private:
    foundation::Value m_text;
    uint64_t m_flags { 0 };
};

} // namespace messages
