#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace contacts {

// The platform's CNLabeledValue: a value of a card (an e-mail address as a
// string, a telephone number as a CNPhoneNumber) with its label.
//
// Messages: -label (nil when none), -value, -identifier.
class CNLabeledValue : public runtime::NSObject {
public:
    using NSObject::NSObject;

    static runtime::Ref<CNLabeledValue> make(
        runtime::Runtime&, std::string identifier, std::string label, foundation::Value value);

    static void registerClass(device::Process&);

private:
    std::string m_identifier;
    std::string m_label;
    foundation::Value m_value;
};

} // namespace contacts
