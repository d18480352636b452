#include "platform/uikit/UIResponder.h"

#include "platform/device/Process.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/ClassBuilder.h"

namespace uikit {

using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<Object> UIResponder::nextResponder()
{
    return runtime::send<Ref<Object>>(this, SEL("nextResponder"));
}

void UIResponder::registerClass(device::Process& process)
{
    ClassBuilder::define<UIResponder>(process.runtime(), "UIResponder", "NSObject")
        .method("nextResponder", runtime::Imp::of([](UIResponder*, Selector) -> Ref<Object> { return nullptr; }));
}

} // namespace uikit
