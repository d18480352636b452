#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace contacts {

// The platform's CNContactFetchRequest: which properties of the cards an
// enumeration asks for.
//
// Messages: -initWithKeysToFetch: (an array of key strings), -keysToFetch.
class CNContactFetchRequest : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& keysToFetch() const { return m_keysToFetch; }

    static void registerClass(device::Process&);

private:
    foundation::Value m_keysToFetch = foundation::Value::array();
};

} // namespace contacts
