#include "platform/uikit/UIResponder.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Send.h"

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
    auto builder = runtime::ClassBuilder::define<UIResponder>(process.runtime(), "UIResponder", "NSObject");
    builder.method("nextResponder", runtime::Imp::of([](UIResponder*, Selector) -> Ref<Object> { return nullptr; }));
    // Touches a responder does not handle travel along the chain.
    for (const char* name : { "touchesBegan:withEvent:", "touchesMoved:withEvent:", "touchesEnded:withEvent:",
             "touchesCancelled:withEvent:" }) {
        builder.method(name,
            runtime::Imp::of([](UIResponder* self, Selector selector, const foundation::Value& touches, Object* event) {
                runtime::send(self->nextResponder(), selector, touches, event);
            }));
    }
}

} // namespace uikit
