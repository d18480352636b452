#pragma once

#include "platform/device/Forward.h"
#include "platform/runtime/Ref.h"
#include "platform/springboard/Forward.h"

#include "tools/brix/scenario/Scenario.h"

namespace tools::scenario {

// Turns a scenario's notification into what the home screen works with: a
// notification request named by the notification's id (its
// `notificationIdentifier`), with its texts, payload, icon and actions, and
// the app's icon as the system's icon renderer will answer it.
class NotificationBuilder {
public:
    explicit NotificationBuilder(device::Process& homeScreen);

    runtime::Ref<springboard::NCNotificationRequest> build(const Notification&);
    // A UIImage of the home screen made from a fixture file; nil when it does not decode.
    runtime::Ref<runtime::Object> image(const std::filesystem::path& fixture);

private:
    void installAppIcon(const Notification&);

    device::Process* m_process;
};

} // namespace tools::scenario
