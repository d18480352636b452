#include "platform/springboard/NCNotificationAction.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Ref;

Ref<NCNotificationAction> NCNotificationAction::make(
    runtime::Runtime& runtime, foundation::Value identifier, foundation::Value title, foundation::Value launchBundleID)
{
    auto action = runtime::instantiate<NCNotificationAction>(runtime, "NCNotificationAction");
    if (!action)
        return nullptr;
    action->m_identifier = std::move(identifier);
    action->m_title = std::move(title);
    action->m_launchBundleID = std::move(launchBundleID);
    return action;
}

void NCNotificationAction::registerClass(device::Process& process)
{
    ClassBuilder::define<NCNotificationAction>(process.runtime(), "NCNotificationAction", "NSObject")
        .property("identifier", {}, &NCNotificationAction::m_identifier)
        .property("title", {}, &NCNotificationAction::m_title)
        .property("launchBundleID", {}, &NCNotificationAction::m_launchBundleID);
}

} // namespace springboard
