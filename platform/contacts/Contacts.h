#pragma once

#include "platform/device/Forward.h"

namespace contacts {

// Defines the Contacts framework in the process's run time: CNContactStore,
// CNContactFetchRequest, CNContact, CNLabeledValue and CNPhoneNumber.
// Classes that exist already are left alone; Foundation's (NSError) must be
// defined first.
void defineClasses(device::Process&);

} // namespace contacts
