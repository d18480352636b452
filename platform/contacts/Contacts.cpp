#include "platform/contacts/Contacts.h"

#include "platform/contacts/CNContact.h"
#include "platform/contacts/CNContactFetchRequest.h"
#include "platform/contacts/CNContactStore.h"
#include "platform/contacts/CNLabeledValue.h"
#include "platform/contacts/CNPhoneNumber.h"

namespace contacts {

void defineClasses(device::Process& process)
{
    CNPhoneNumber::registerClass(process);
    CNLabeledValue::registerClass(process);
    CNContact::registerClass(process);
    CNContactFetchRequest::registerClass(process);
    CNContactStore::registerClass(process);
}

} // namespace contacts
