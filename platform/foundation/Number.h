#pragma once

#include "platform/foundation/BoxedValue.h"

namespace foundation {

// The platform's NSNumber, a boxed value of a numeric type. Its numbers
// convert between each other: a BOOL reads as 0 or 1, a real as its integer
// part (saturated to the 64-bit range), and anything non-zero as YES.
//
// Messages: +numberWithBool: (type "c", as the platform keeps a BOOL number),
// +numberWithInteger: ("q"), +numberWithDouble: ("d"), the matching
// -initWith... messages, -boolValue, -integerValue, -doubleValue.
class Number : public BoxedValue {
public:
    using BoxedValue::BoxedValue;

    // The number as a Value: an integer, or a real for the floating-point types.
    Value numericValue() const;

    // Defines the run-time class "NSNumber" (a subclass of "NSValue", which
    // must exist); does nothing when it exists.
    static void registerClass(runtime::Runtime&);
};

} // namespace foundation
