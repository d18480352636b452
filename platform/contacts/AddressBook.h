#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/contacts/CNContact.h"
#include "platform/device/Forward.h"
#include "platform/foundation/Result.h"

namespace contacts {

// The address book of a process (a per-process service): the cards of the
// vCard file at `path` in the device, as CNContact objects in the order of
// the file. The file is read again only when it has changed (its size, its
// time of change or the file itself). A missing file is an empty address
// book. Cards that are not well formed are left out, each reported once per
// reading on standard error.
class AddressBook {
public:
    static constexpr const char* path = "/var/mobile/Library/AddressBook/Contacts.vcf";

    explicit AddressBook(device::Process&);
    static AddressBook& of(device::Process&);

    // The cards, or why the file could not be read.
    foundation::Result<const std::vector<runtime::Ref<CNContact>>*> contacts();

private:
    struct Signature {
        uint64_t device { 0 };
        uint64_t inode { 0 };
        int64_t size { -1 };
        int64_t changedSeconds { 0 };
        int64_t changedNanoseconds { 0 };
        friend bool operator==(const Signature&, const Signature&) = default;
    };

    device::Process* m_process;
    bool m_loaded { false };
    Signature m_signature;
    std::vector<runtime::Ref<CNContact>> m_contacts;
};

} // namespace contacts
