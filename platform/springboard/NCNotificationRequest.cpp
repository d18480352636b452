#include "platform/springboard/NCNotificationRequest.h"

#include "platform/device/Device.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using foundation::Value;
using runtime::ClassBuilder;
using runtime::instantiate;
using runtime::Ref;

namespace {

    // Seconds between 1970 and the platform's reference date, 2001-01-01.
    constexpr double referenceDateOffset = 978307200;

    foundation::Date currentDate(device::Device& device)
    {
        return { device.hardware().startTime + device.scheduler().now() - referenceDateOffset };
    }

    Ref<UNNotification> makeUserNotification(device::Process& process, const NCNotificationRequest::Contents& contents)
    {
        auto& runtime = process.runtime();
        auto content = instantiate<UNNotificationContent>(runtime, "UNNotificationContent");
        auto request = instantiate<UNNotificationRequest>(runtime, "UNNotificationRequest");
        auto notification = instantiate<UNNotification>(runtime, "UNNotification");
        if (!content || !request || !notification)
            return nullptr;
        content->setTexts(contents.title, contents.subtitle, contents.message);
        content->setUserInfo(contents.userInfo);
        request->setIdentifier(contents.notificationIdentifier);
        request->setContent(content.get());
        notification->setRequest(request.get());
        notification->setDate(Value(currentDate(process.device())));
        return notification;
    }

} // namespace

Ref<NCNotificationRequest> NCNotificationRequest::make(device::Process& process, Contents contents)
{
    auto& runtime = process.runtime();
    auto request = instantiate<NCNotificationRequest>(runtime, "NCNotificationRequest");
    if (!request)
        return nullptr;
    request->m_content = instantiate<NCNotificationContent>(runtime, "NCNotificationContent");
    if (request->m_content) {
        request->m_content->setTexts(contents.title, contents.subtitle, contents.message, contents.summaryText);
        request->m_content->setIcons(contents.icons);
    }
    if (contents.hasOptions) {
        request->m_options = instantiate<NCNotificationOptions>(runtime, "NCNotificationOptions");
        if (request->m_options)
            request->m_options->setDismissAutomatically(contents.dismissAutomatically);
    }
    request->m_userNotification = makeUserNotification(process, contents);
    request->m_sectionIdentifier = std::move(contents.sectionIdentifier);
    request->m_threadIdentifier = std::move(contents.threadIdentifier);
    request->m_notificationIdentifier = std::move(contents.notificationIdentifier);
    request->m_clearAction = std::move(contents.clearAction);
    request->m_closeAction = std::move(contents.closeAction);
    request->m_silenceAction = std::move(contents.silenceAction);
    request->m_defaultAction = std::move(contents.defaultAction);
    request->m_supplementaryActions = std::move(contents.supplementaryActions);
    return request;
}

void NCNotificationRequest::registerClass(device::Process& process)
{
    ClassBuilder::define<NCNotificationRequest>(process.runtime(), "NCNotificationRequest", "NSObject")
        .property("sectionIdentifier", {}, &NCNotificationRequest::m_sectionIdentifier)
        .property("threadIdentifier", {}, &NCNotificationRequest::m_threadIdentifier)
        .property("notificationIdentifier", {}, &NCNotificationRequest::m_notificationIdentifier)
        .property("content", {}, &NCNotificationRequest::m_content)
        .property("options", {}, &NCNotificationRequest::m_options)
        .property("clearAction", {}, &NCNotificationRequest::m_clearAction)
        .property("closeAction", {}, &NCNotificationRequest::m_closeAction)
        .property("silenceAction", {}, &NCNotificationRequest::m_silenceAction)
        .property("defaultAction", {}, &NCNotificationRequest::m_defaultAction)
        .property("supplementaryActions", {}, &NCNotificationRequest::m_supplementaryActions)
        .property("userNotification", {}, &NCNotificationRequest::m_userNotification);
}

} // namespace springboard
