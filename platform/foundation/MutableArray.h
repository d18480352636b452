#pragma once

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSMutableArray, a subclass of NSArray. Immutable arrays are
// values (Value::Array); a mutable one is an object, so that everyone who
// holds it sees its changes.
//
// Messages: +array, -init, -addObject: (nil is refused with a message on
// standard error, as the platform refuses it), -count, -objectAtIndex: (nil
// with a message for an index past the end), -firstObject, -lastObject,
// -removeAllObjects, -copy (an immutable array value).
class MutableArray : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const Value::Array& items() const { return m_items; }
    void append(Value item) { m_items.push_back(std::move(item)); }

    // Defines "NSArray" and "NSMutableArray"; does nothing when they exist.
    static void registerClass(runtime::Runtime&);

private:
    Value::Array m_items;
};

} // namespace foundation
