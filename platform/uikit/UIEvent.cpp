#include "platform/uikit/UIEvent.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;

void UIEvent::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIEvent>(process.runtime(), "UIEvent", "NSObject")
        .method("type", Imp::of(&UIEvent::type))
        .method("timestamp", Imp::of(&UIEvent::timestamp))
        .method("allTouches", Imp::of([](UIEvent* self, runtime::Selector) { return self->allTouches(); }));
}

} // namespace uikit
