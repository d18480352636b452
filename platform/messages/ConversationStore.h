#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/device/Forward.h"
#include "platform/foundation/Result.h"

namespace messages {

// The Messages app's record of its conversations on the device: a property
// list at `devicePath` holding an array with one dictionary per conversation,
// in the order the app lists them, each naming its chat by "guid" (a
// non-empty string). The app reads it when it starts.
class ConversationStore {
public:
    static constexpr const char* devicePath = "/var/mobile/Library/SMS/Conversations.plist";

    explicit ConversationStore(const device::Device&);

    // The chat guids in list order; none when there is no file. A file that
    // cannot be read, or holds anything but such a list, is refused with the
    // reason (naming the entry at fault) and left as it is.
    foundation::Result<std::vector<std::string>> load() const;

    // Replaces the file, atomically, with these guids in order. Refuses an
    // empty guid; fails with the reason.
    foundation::Result<void> save(const std::vector<std::string>& guids) const;

private:
    const device::Device* m_device;
};

} // namespace messages
