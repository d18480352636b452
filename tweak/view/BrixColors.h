#pragma once

#include "platform/runtime/Runtime.h"

namespace brix {

class Brix;

// The six colours of one banner for a colour mode: 1 the set for the system's
// dark style, 2 the set for its light style, 3 (and any other value) an
// opaque dark set. Custom colours take precedence only when
// `useCustomColors` is set; copies never carry them.
class BrixColors : public runtime::NSObject {
public:
    enum class Role { Background, Grabber, Reply, Text, Button, Delete };

    using NSObject::NSObject;

    uint64_t mode() const { return m_mode; }
    bool usesCustomColors() const { return m_useCustomColors; }

    // A new colour object for the role: the custom colour when it applies,
    // otherwise the table's colour for the mode.
    runtime::Ref<runtime::Object> colorFor(Role) const;

    // Defines the run-time class "BrixColors" in the process of `brix`.
    static void registerClass(Brix&);

private:
    runtime::Ref<runtime::Object> customColor(Role) const;
    runtime::Ref<runtime::Object> tableColor(Role) const;
    bool isModernSystem() const;

    Brix* m_brix { nullptr };
    bool m_useCustomColors { false };
    uint64_t m_mode { 0 };
    runtime::Ref<runtime::Object> m_backgroundColor;
    runtime::Ref<runtime::Object> m_grabberColor;
    runtime::Ref<runtime::Object> m_replyColor;
    runtime::Ref<runtime::Object> m_textColor;
    runtime::Ref<runtime::Object> m_buttonColor;
    runtime::Ref<runtime::Object> m_deleteColor;
};

} // namespace brix
