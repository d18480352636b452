#include "platform/springboard/UNNotification.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;

void UNNotification::registerClass(device::Process& process)
{
    ClassBuilder::define<UNNotification>(process.runtime(), "UNNotification", "NSObject")
        .property("request", {}, &UNNotification::m_request)
        .property("date", {}, &UNNotification::m_date);
}

} // namespace springboard
