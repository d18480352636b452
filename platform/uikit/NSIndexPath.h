#pragma once

#include <cstdint>

#include "platform/device/Forward.h"
#include "platform/runtime/Runtime.h"

namespace uikit {

// The place of a row in a table: its section and its row within it.
//
// Messages: +indexPathForRow:inSection:(int64, int64), row, section, isEqual:.
class NSIndexPath : public runtime::NSObject {
public:
    using NSObject::NSObject;

    int64_t section() const { return m_section; }
    int64_t row() const { return m_row; }

    static runtime::Ref<NSIndexPath> make(runtime::Runtime&, int64_t row, int64_t section);

    static void registerClass(device::Process&);

private:
    int64_t m_section { 0 };
    int64_t m_row { 0 };
};

} // namespace uikit
