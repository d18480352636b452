#include "platform/springboard/NCNotificationContent.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;

void NCNotificationContent::setTexts(
    foundation::Value title, foundation::Value subtitle, foundation::Value message, foundation::Value summaryText)
{
    m_title = std::move(title);
    m_subtitle = std::move(subtitle);
    m_message = std::move(message);
    m_summaryText = std::move(summaryText);
}

void NCNotificationContent::registerClass(device::Process& process)
{
    ClassBuilder::define<NCNotificationContent>(process.runtime(), "NCNotificationContent", "NSObject")
        .property("title", {}, &NCNotificationContent::m_title)
        .property("subtitle", {}, &NCNotificationContent::m_subtitle)
        .property("message", {}, &NCNotificationContent::m_message)
        .property("summaryText", {}, &NCNotificationContent::m_summaryText)
        .property("icons", {}, &NCNotificationContent::m_icons);
}

} // namespace springboard
