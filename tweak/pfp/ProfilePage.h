#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace brix::pfp {

// The first profile-picture address (on Twitter's picture host) in the text
// of a profile page, matched with the process's NSRegularExpression; nothing
// when the page is not UTF-8 or holds none.
std::optional<std::string> profilePictureAddress(runtime::Runtime&, const foundation::Data& page);

} // namespace brix::pfp
