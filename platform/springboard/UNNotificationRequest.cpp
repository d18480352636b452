#include "platform/springboard/UNNotificationRequest.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;

void UNNotificationRequest::registerClass(device::Process& process)
{
    ClassBuilder::define<UNNotificationRequest>(process.runtime(), "UNNotificationRequest", "NSObject")
        .property("identifier", {}, &UNNotificationRequest::m_identifier)
        .property("content", {}, &UNNotificationRequest::m_content);
}

} // namespace springboard
