#include "platform/uikit/UIPress.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Ref;

Ref<UIPress> UIPress::make(runtime::Runtime& runtime, int64_t type, double force, int64_t phase)
{
    auto press = instantiate<UIPress>(runtime, "UIPress");
    if (!press)
        return nullptr;
    press->m_type = type;
    press->m_force = force;
    press->m_phase = phase;
    return press;
}

void UIPress::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIPress>(process.runtime(), "UIPress", "NSObject")
        .method("type", Imp::of(&UIPress::type))
        .method("phase", Imp::of(&UIPress::phase))
        .method("force", Imp::of(&UIPress::force));
}

} // namespace uikit
