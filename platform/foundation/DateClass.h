#pragma once

#include <memory>

#include "platform/foundation/SystemEnvironment.h"
#include "platform/foundation/Value.h"

namespace foundation {

// The platform's NSDate. Dates travel as Values of kind Date, so the class
// only makes them: +date (now, on the system's clock),
// +dateWithTimeIntervalSinceNow:, +dateWithTimeIntervalSince1970:.
class DateClass {
public:
    // Seconds between 1970-01-01 and the reference date 2001-01-01 (UTC).
    static constexpr double referenceDateSince1970 = 978307200;

    static Date fromTimeIntervalSince1970(double seconds) { return Date { seconds - referenceDateSince1970 }; }
    static double timeIntervalSince1970(Date date) { return date.secondsSinceReferenceDate + referenceDateSince1970; }

    static void registerClass(runtime::Runtime&, std::shared_ptr<const SystemEnvironment>);
};

} // namespace foundation
