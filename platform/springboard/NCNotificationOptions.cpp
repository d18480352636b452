#include "platform/springboard/NCNotificationOptions.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;

void NCNotificationOptions::registerClass(device::Process& process)
{
    ClassBuilder::define<NCNotificationOptions>(process.runtime(), "NCNotificationOptions", "NSObject")
        .property("dismissAutomatically", "setDismissAutomatically:", &NCNotificationOptions::m_dismissAutomatically);
}

} // namespace springboard
