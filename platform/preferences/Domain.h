#pragma once

#include <filesystem>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

namespace device {
class Device;
}

namespace preferences {

// A preference domain on the device: the property-list file
// /var/mobile/Library/Preferences/<identifier>.plist. Reading never changes
// the file; a missing, unreadable or corrupt file reads as an empty domain.
// Writing replaces the file atomically, so a crash leaves either the old or
// the new domain, and then announces the change system-wide.
class Domain {
public:
    Domain(device::Device&, std::string identifier);

    const std::string& identifier() const { return m_identifier; }
    std::filesystem::path hostPath() const;

    // The stored values; an empty dictionary when there are none.
    foundation::Value read() const;
    // Stores `value` under `key` (nil removes the key). Fails when the domain
    // could not be written; nothing changed then.
    // A domain file that exists but cannot be read is never written over: the
    // change is refused, naming the file and what is wrong with it. Writers on
    // this machine take turns through an advisory lock on <file>.lock.
    foundation::Result<void> set(const std::string& key, const foundation::Value&);
    foundation::Result<void> removeAll();
    // Removes every value like removeAll(), and starts afresh from a domain
    // file that cannot be read: that file is first renamed beside itself to
    // <file>.unreadable-<UTC time>, whose path `movedAside` receives.
    foundation::Result<void> removeAll(std::filesystem::path& movedAside);

    // The system-wide notification every process's preference objects observe.
    std::string changeNotificationName() const { return m_identifier + "/ReloadPrefs"; }

private:
    foundation::Result<foundation::Value> readForChange() const;
    foundation::Result<void> removeAllLocked(std::filesystem::path* movedAside);
    foundation::Result<void> write(const foundation::Value& values, const std::vector<std::string>& changedKeys);

    device::Device& m_device;
    std::string m_identifier;
};

} // namespace preferences
