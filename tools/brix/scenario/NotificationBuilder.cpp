#include "tools/brix/scenario/NotificationBuilder.h"

#include <fstream>
#include <iterator>

#include "platform/device/Device.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/IconRenderer.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/uikit/UIImage.h"

namespace tools::scenario {

namespace fs = std::filesystem;
using foundation::Value;
using runtime::Object;
using runtime::Ref;
using springboard::NCNotificationAction;
using springboard::NCNotificationRequest;

namespace {

    Value text(const std::optional<std::string>& value)
    {
        return value ? Value(*value) : Value();
    }

    foundation::Data readBytes(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    }

} // namespace

NotificationBuilder::NotificationBuilder(device::Process& homeScreen)
    : m_process(&homeScreen)
{
}

// The system renders the icon of the notification's app from its icon cache;
// a notification without `appIcon` leaves the app without one.
void NotificationBuilder::installAppIcon(const Notification& notification)
{
    if (!notification.app || notification.app->empty() || notification.app->find('/') != std::string::npos)
        return;
    auto target = m_process->device().hostPath(springboard::IconRenderer::iconPath(*notification.app));
    if (target.empty())
        return;
    std::error_code error;
    if (!notification.appIcon) {
        fs::remove(target, error);
        return;
    }
    fs::create_directories(target.parent_path(), error);
    fs::copy_file(*notification.appIcon, target, fs::copy_options::overwrite_existing, error);
}

Ref<Object> NotificationBuilder::image(const fs::path& fixture)
{
    auto* imageClass = m_process->runtime().classNamed("UIImage");
    Value data(readBytes(fixture));
    if (imageClass && imageClass->respondsToSelector(SEL("initWithData:")))
        return runtime::send<Ref<Object>>(runtime::alloc(imageClass), SEL("initWithData:"), data);
    return uikit::UIImage::make(m_process->runtime(), {}, 1, {}, data.data());
}

Ref<NCNotificationRequest> NotificationBuilder::build(const Notification& notification)
{
    installAppIcon(notification);
    auto& runtime = m_process->runtime();
    auto action = [&](const std::optional<std::string>& id, Value launchBundleIdentifier = {}) {
        return id ? NCNotificationAction::make(runtime, *id, {}, std::move(launchBundleIdentifier))
                  : Ref<NCNotificationAction>();
    };

    NCNotificationRequest::Contents contents;
    contents.sectionIdentifier = text(notification.app);
    contents.threadIdentifier = text(notification.thread);
    contents.notificationIdentifier = notification.id;
    contents.title = text(notification.title);
    contents.subtitle = text(notification.subtitle);
    contents.message = text(notification.message);
    contents.summaryText = text(notification.summary);
    contents.icons = Value::array();
    if (notification.icon) {
        if (auto icon = image(*notification.icon))
            contents.icons.append(Value(icon));
    }
    contents.userInfo = notification.userInfo.isNil() ? Value::dictionary() : notification.userInfo;
    contents.hasOptions = notification.hasOptions;
    contents.dismissAutomatically = notification.dismissAutomatically;
    contents.clearAction = action(notification.clearAction);
    contents.closeAction = action(notification.closeAction);
    contents.silenceAction = action(notification.silenceAction);
    contents.defaultAction = action(notification.defaultAction, text(notification.app));
    contents.supplementaryActions = Value::dictionary();
    for (auto& [layout, ids] : notification.supplementaryActions) {
        Value actions = Value::array();
        for (auto& id : ids)
            actions.append(Value(action(id)));
        contents.supplementaryActions.set(layout, actions);
    }
    return NCNotificationRequest::make(*m_process, std::move(contents));
}

} // namespace tools::scenario
