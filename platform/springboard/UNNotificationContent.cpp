#include "platform/springboard/UNNotificationContent.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;

void UNNotificationContent::setTexts(foundation::Value title, foundation::Value subtitle, foundation::Value body)
{
    m_title = std::move(title);
    m_subtitle = std::move(subtitle);
    m_body = std::move(body);
}

void UNNotificationContent::registerClass(device::Process& process)
{
    ClassBuilder::define<UNNotificationContent>(process.runtime(), "UNNotificationContent", "NSObject")
        .property("title", {}, &UNNotificationContent::m_title)
        .property("subtitle", {}, &UNNotificationContent::m_subtitle)
        .property("body", {}, &UNNotificationContent::m_body)
        .property("userInfo", {}, &UNNotificationContent::m_userInfo);
}

} // namespace springboard
