#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

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
    // The section and row of `path` as indexes; none for nil or a negative one.
    static std::optional<std::pair<size_t, size_t>> indexesOf(const NSIndexPath* path)
    {
        if (!path || path->m_section < 0 || path->m_row < 0)
            return std::nullopt;
        return std::pair { static_cast<size_t>(path->m_section), static_cast<size_t>(path->m_row) };
    }

    static runtime::Ref<NSIndexPath> make(runtime::Runtime&, int64_t row, int64_t section);

    static void registerClass(device::Process&);

private:
    int64_t m_section { 0 };
    int64_t m_row { 0 };
};

} // namespace uikit
