#pragma once

#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"

namespace foundation {

// The platform's NSMutableDictionary, a subclass of NSDictionary, keyed by
// strings. Immutable dictionaries are values (Value::Dictionary); a mutable
// one is an object, so that everyone who holds it sees its changes.
//
// Messages: +dictionary, -init, -setObject:forKey: (a nil object or a key
// that is not a string is refused with a message on standard error),
// -objectForKey:, -removeObjectForKey:, -count, -allKeys, -copy (an immutable
// dictionary value). NSDictionary's +dictionaryWithContentsOfFile: comes with
// the file manager (see FileManager).
class MutableDictionary : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const Value::Dictionary& entries() const { return m_entries; }
    void set(std::string key, Value value) { m_entries.insert_or_assign(std::move(key), std::move(value)); }

    // Defines "NSDictionary" and "NSMutableDictionary"; does nothing when they exist.
    static void registerClass(runtime::Runtime&);

private:
    Value::Dictionary m_entries;
};

} // namespace foundation
