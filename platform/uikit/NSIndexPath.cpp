#include "platform/uikit/NSIndexPath.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<NSIndexPath> NSIndexPath::make(runtime::Runtime& runtime, int64_t row, int64_t section)
{
    auto path = instantiate<NSIndexPath>(runtime, "NSIndexPath");
    if (path) {
        path->m_row = row;
        path->m_section = section;
    }
    return path;
}

void NSIndexPath::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    runtime::ClassBuilder::define<NSIndexPath>(runtime, "NSIndexPath", "NSObject")
        .classMethod("indexPathForRow:inSection:", Imp::of([&runtime](Object*, Selector, int64_t row, int64_t section) {
            return Ref<Object>(make(runtime, row, section).get());
        }))
        .method("row", Imp::of(&NSIndexPath::row))
        .method("section", Imp::of(&NSIndexPath::section))
        .method("isEqual:", Imp::of([](NSIndexPath* self, Selector, NSIndexPath* path) {
            return path && path->m_row == self->m_row && path->m_section == self->m_section;
        }));
}

} // namespace uikit
