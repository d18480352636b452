#include "platform/uikit/UIBarButtonItem.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

bool UIBarButtonItem::press()
{
    Ref<Object> target = m_target.strong();
    if (!target || m_action.isNull() || !runtime::respondsToSelector(target.get(), m_action))
        return false;
    Ref<Object> protect(this);
    if (m_action.name().find(':') == std::string::npos)
        runtime::send(target.get(), m_action);
    else
        runtime::send(target.get(), m_action, static_cast<Object*>(this));
    return true;
}

void UIBarButtonItem::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIBarButtonItem>(process.runtime(), "UIBarButtonItem", "NSObject")
        .method("initWithTitle:style:target:action:",
            Imp::of([](UIBarButtonItem* self, Selector, const Value& title, int64_t style, Object* target,
                        Selector action) -> Object* {
                self->m_title = title;
                self->m_style = style;
                self->m_target = runtime::WeakRef<Object>(target);
                self->m_action = action;
                return self;
            }))
        .property("title", "setTitle:", &UIBarButtonItem::m_title)
        .method("style", Imp::of(&UIBarButtonItem::style))
        .method(
            "target", Imp::of([](UIBarButtonItem* self, Selector) -> Ref<Object> { return self->m_target.strong(); }))
        .method("action", Imp::of([](UIBarButtonItem* self, Selector) { return self->m_action; }));
}

} // namespace uikit
