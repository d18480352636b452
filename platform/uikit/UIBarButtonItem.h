#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Forward.h"

namespace uikit {

// A button of a navigation bar: a title, a style and an action sent to a
// target, which it refers to without owning.
//
// Messages: initWithTitle:style:target:action:(Value, int64, object,
// selector), title, setTitle:(Value), style, target, action.
class UIBarButtonItem : public runtime::NSObject {
public:
    // UIBarButtonItemStyle.
    enum Style : int64_t { Plain = 0, Done = 2 };

    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    int64_t style() const { return m_style; }
    runtime::Object* target() const { return m_target.get(); }
    runtime::Selector action() const { return m_action; }

    // A user's tap: sends the action to the target (with the item as its
    // argument when the action takes one). Answers false when there is
    // nothing to send it to.
    bool press();

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    int64_t m_style { Plain };
    runtime::WeakRef<runtime::Object> m_target;
    runtime::Selector m_action;
};

} // namespace uikit
