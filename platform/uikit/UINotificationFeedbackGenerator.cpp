#include "platform/uikit/UINotificationFeedbackGenerator.h"

#include "platform/device/Device.h"
#include "platform/runtime/ClassBuilder.h"

namespace uikit {

using runtime::Imp;
using runtime::Selector;

void UINotificationFeedbackGenerator::notificationOccurred(device::Process& process, int64_t type)
{
    if (type < Success || type > Error)
        return;
    process.device().trace().emit("feedback", { { "kind", "notification" }, { "value", type } });
}

void UINotificationFeedbackGenerator::registerClass(device::Process& process)
{
    auto* owner = &process;
    runtime::ClassBuilder::define<UINotificationFeedbackGenerator>(
        process.runtime(), "UINotificationFeedbackGenerator", "NSObject")
        .method("prepare", Imp::of([](UINotificationFeedbackGenerator* self, Selector) { self->m_prepared = true; }))
        .method(
            "notificationOccurred:", Imp::of([owner](UINotificationFeedbackGenerator* self, Selector, int64_t type) {
                self->notificationOccurred(*owner, type);
            }));
}

} // namespace uikit
