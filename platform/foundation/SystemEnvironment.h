#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace foundation {

// What Foundation's system-facing classes (dates, date formatters, bundles)
// read from the system they run on. Foundation sits below the device layer,
// so the process that defines those classes supplies this.
class SystemEnvironment {
public:
    virtual ~SystemEnvironment() = default;

    // The wall clock, in seconds since 1970-01-01 00:00:00 UTC.
    virtual double currentTime() const = 0;
    // The host path of an absolute device path; empty for a path that is not
    // absolute or would leave the device's root.
    virtual std::filesystem::path hostPath(std::string_view devicePath) const = 0;
    // An ICU locale identifier ("en_US") and an IANA time-zone identifier ("UTC").
    virtual std::string localeIdentifier() const = 0;
    virtual std::string timeZoneIdentifier() const = 0;
};

} // namespace foundation
