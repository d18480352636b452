#include "platform/contacts/AddressBook.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "platform/device/Device.h"
#include "platform/device/Process.h"
#include "platform/runtime/Console.h"

namespace contacts {

AddressBook::AddressBook(device::Process& process)
    : m_process(&process)
{
}

AddressBook& AddressBook::of(device::Process& process)
{
    return process.service<AddressBook>();
}

foundation::Result<const std::vector<runtime::Ref<CNContact>>*> AddressBook::contacts()
{
    auto host = m_process->device().hostPath(path);
    struct stat status { };
    Signature signature;
    if (stat(host.c_str(), &status) == 0) {
        signature = { static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_ctim.tv_sec),
            static_cast<int64_t>(status.st_ctim.tv_nsec) };
    } else if (errno != ENOENT && errno != ENOTDIR) {
        return foundation::Error { std::string("cannot read the address book ") + path + ": " + std::strerror(errno) };
    }
    if (m_loaded && signature == m_signature)
        return &m_contacts;

    m_contacts.clear();
    m_loaded = false;
    if (signature.size >= 0) {
        std::ifstream file(host, std::ios::binary);
        std::string text(static_cast<size_t>(signature.size), '\0');
        if (!S_ISREG(status.st_mode) || !file.read(text.data(), signature.size))
            return foundation::Error { std::string("cannot read the address book ") + path
                + ": it is not a readable file" };
        auto reading = readVCards(text);
        for (auto& reason : reading.skipped)
            runtime::console("contacts: " + std::string(path) + ": left out the " + reason);
        for (auto& card : reading.cards)
            m_contacts.push_back(CNContact::make(m_process->runtime(), std::move(card)));
    }
    m_signature = signature;
    m_loaded = true;
    return &m_contacts;
}

} // namespace contacts
