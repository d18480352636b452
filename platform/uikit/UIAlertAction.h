#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Types.h"

namespace uikit {

// One button of an alert: a title, a style and what runs when it is chosen.
//
// Messages: +actionWithTitle:style:handler:(Value, int64,
// Block<void(Object*)>), title, style, isEnabled, setEnabled:.
class UIAlertAction : public runtime::NSObject {
public:
    // UIAlertActionStyle.
    enum Style : int64_t { Default = 0, Cancel = 1, Destructive = 2 };
    using Handler = runtime::Block<void(runtime::Object*)>;

    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    int64_t style() const { return m_style; }
    bool isEnabled() const { return m_enabled; }
    // Runs the handler, if there is one, with the action.
    void runHandler();

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    int64_t m_style { Default };
    Handler m_handler;
    bool m_enabled { true };
};

} // namespace uikit
