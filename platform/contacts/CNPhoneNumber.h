#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace contacts {

// The platform's CNPhoneNumber: a telephone number as it was written.
//
// Messages: +phoneNumberWithStringValue:, -stringValue.
class CNPhoneNumber : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const std::string& stringValue() const { return m_stringValue; }

    static runtime::Ref<CNPhoneNumber> make(runtime::Runtime&, std::string);

    static void registerClass(device::Process&);

private:
    std::string m_stringValue;
};

} // namespace contacts
