#pragma once

#include <vector>

#include "platform/foundation/Value.h"
#include "platform/uikit/Forward.h"
#include "platform/uikit/UIEvent.h"

namespace uikit {

// An event of physical buttons. `allPresses` answers its presses as an
// array value (the platform's set of presses, in the order they began).
class UIPressesEvent : public UIEvent {
public:
    explicit UIPressesEvent(runtime::Class*);

    const foundation::Value& allPresses() const { return m_presses; }

    // A new event of the process's class "UIPressesEvent" holding `presses`,
    // stamped with the device clock.
    static runtime::Ref<UIPressesEvent> make(device::Process&, const std::vector<runtime::Ref<UIPress>>& presses);

    static void registerClass(device::Process&);

private:
    foundation::Value m_presses;
};

} // namespace uikit
