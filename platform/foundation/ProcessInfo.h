#pragma once

#include <string>

#include "platform/foundation/Value.h"

namespace foundation {

// The platform's NSProcessInfo: +processInfo (one object per run time) and
// -globallyUniqueString, a string that no other call on any device gives:
// 128 random bits written as the platform writes them, eight, four, four,
// four and twelve upper-case hexadecimal digits joined by hyphens.
class ProcessInfo : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::string globallyUniqueString();

    static void registerClass(runtime::Runtime&);
};

} // namespace foundation
