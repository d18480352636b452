#include "platform/uikit/UIAlertAction.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

void UIAlertAction::runHandler()
{
    Ref<Object> protect(this);
    if (m_handler)
        m_handler(this);
}

void UIAlertAction::registerClass(device::Process& process)
{
    auto& runtime = process.runtime();
    runtime::ClassBuilder::define<UIAlertAction>(runtime, "UIAlertAction", "NSObject")
        .classMethod("actionWithTitle:style:handler:",
            Imp::of([&runtime](Object*, Selector, const Value& title, int64_t style, Handler handler) -> Ref<Object> {
                auto action = instantiate<UIAlertAction>(runtime, "UIAlertAction");
                if (action) {
                    action->m_title = title;
                    action->m_style = style >= Default && style <= Destructive ? style : Default;
                    action->m_handler = std::move(handler);
                }
                return Ref<Object>(action.get());
            }))
        .method("title", Imp::of([](UIAlertAction* self, Selector) { return self->m_title; }))
        .method("style", Imp::of(&UIAlertAction::style))
        .property("isEnabled", "setEnabled:", &UIAlertAction::m_enabled);
}

} // namespace uikit
