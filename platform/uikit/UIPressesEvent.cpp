#include "platform/uikit/UIPressesEvent.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIPress.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Ref;
using runtime::Selector;

UIPressesEvent::UIPressesEvent(runtime::Class* cls)
    : UIEvent(cls)
    , m_presses(Value::array())
{
    m_type = Presses;
}

Ref<UIPressesEvent> UIPressesEvent::make(device::Process& process, const std::vector<Ref<UIPress>>& presses)
{
    auto event = instantiate<UIPressesEvent>(process.runtime(), "UIPressesEvent");
    if (!event)
        return nullptr;
    for (auto& press : presses) {
        if (press)
            event->m_presses.append(Value(press));
    }
    event->setTimestamp(process.device().scheduler().now());
    return event;
}

void UIPressesEvent::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UIPressesEvent>(process.runtime(), "UIPressesEvent", "UIEvent")
        .method("allPresses", Imp::of([](UIPressesEvent* self, Selector) { return self->allPresses(); }));
}

} // namespace uikit
