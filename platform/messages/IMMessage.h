#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/Forward.h"

namespace messages {

// A message of the Messages service: its text, an attributed string, and the
// service's flags, passed on as given.
//
// Messages: +instantMessageWithText:(attributed string)flags:(uint64) -> object,
//   -text -> attributed string, -flags -> uint64
//
// The text is copied, so a mutable string changed afterwards leaves the
// message alone. A plain string is taken as an attributed string without
// attributes; anything else (nil among it) makes no message: the answer is nil.
class IMMessage : public runtime::NSObject {
public:
    using NSObject::NSObject;

    uikit::NSAttributedString* text() const { return m_text.get(); }
    // The text's characters, without attributes.
    std::string plainText() const;
    uint64_t flags() const { return m_flags; }

    static void registerClass(device::Process&);

private:
    runtime::Ref<uikit::NSAttributedString> m_text;
    uint64_t m_flags { 0 };
};

} // namespace messages
