#include "platform/uikit/UIApplication.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIKitState.h"
#include "platform/uikit/UIWindow.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void UIApplication::registerClass(device::Process& process)
{
    auto* owner = &process;
    runtime::ClassBuilder::define<UIApplication>(process.runtime(), "UIApplication", "UIResponder")
        .method("init", Imp::of([owner](UIApplication* self, Selector) -> Object* {
            UIKitState::of(*owner).registerApplication(*self);
            return self;
        }))
        .method("keyWindow",
            Imp::of([owner](UIApplication*, Selector) -> Object* { return UIKitState::of(*owner).keyWindow(); }))
        .method("windows",
            Imp::of([owner](UIApplication*, Selector) { return Value::arrayOf(UIKitState::of(*owner).windows()); }))
        .classMethod("sharedApplication",
            Imp::of([owner](Object*, Selector) -> Object* { return UIKitState::of(*owner).application(); }));
}

} // namespace uikit
