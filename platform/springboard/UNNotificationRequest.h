#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/springboard/UNNotificationContent.h"

namespace springboard {

// An app's request to show a notification: its identifier and content.
class UNNotificationRequest : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& identifier() const { return m_identifier; }
    UNNotificationContent* content() const { return m_content.get(); }

    void setIdentifier(foundation::Value identifier) { m_identifier = std::move(identifier); }
    void setContent(UNNotificationContent* content) { m_content = content; }

    static void registerClass(device::Process&);

private:
    foundation::Value m_identifier;
    runtime::Ref<UNNotificationContent> m_content;
};

} // namespace springboard
