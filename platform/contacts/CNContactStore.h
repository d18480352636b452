#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Types.h"

namespace contacts {

// The platform's CNContactStore over the device's address book (see
// AddressBook).
//
// -enumerateContactsWithFetchRequest:error:usingBlock: calls the block with
// each card (a CNContact) and a pointer to a BOOL that stops the enumeration
// when set, in the order of the address book, synchronously. It answers NO,
// with an NSError of "CNErrorDomain" written to the error argument, for a
// request that is not a CNContactFetchRequest or asks for an unknown key
// (code 400) and for an address book that cannot be read (code 2).
class CNContactStore : public runtime::NSObject {
public:
    using EnumerationBlock = runtime::Block<void(foundation::Value, bool*)>;

    static constexpr const char* errorDomain = "CNErrorDomain";
    static constexpr int64_t dataAccessError = 2;
    static constexpr int64_t predicateInvalidError = 400;

    using NSObject::NSObject;

    static void registerClass(device::Process&);
};

} // namespace contacts
