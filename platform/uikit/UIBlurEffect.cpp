#include "platform/uikit/UIBlurEffect.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

Ref<UIBlurEffect> UIBlurEffect::make(runtime::Runtime& runtime, int64_t style)
{
    auto object = runtime::newObject(runtime.classNamed("UIBlurEffect"));
    Ref<UIBlurEffect> effect(dynamic_cast<UIBlurEffect*>(object.get()));
    if (effect)
        effect->m_style = style;
    return effect;
}

void UIBlurEffect::registerClass(device::Process& process)
{
    auto* owner = &process;
    runtime::ClassBuilder::define<runtime::NSObject>(process.runtime(), "UIVisualEffect", "NSObject");
    runtime::ClassBuilder::define<UIBlurEffect>(process.runtime(), "UIBlurEffect", "UIVisualEffect")
        .method("style", Imp::of(&UIBlurEffect::style))
        .classMethod("effectWithStyle:", Imp::of([owner](Object*, Selector, int64_t style) -> Ref<Object> {
            return make(owner->runtime(), style);
        }));
}

} // namespace uikit
