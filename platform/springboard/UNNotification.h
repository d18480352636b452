#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/springboard/UNNotificationRequest.h"

namespace springboard {

// A delivered notification: the app's request and when it arrived.
class UNNotification : public runtime::NSObject {
public:
    using NSObject::NSObject;

    UNNotificationRequest* request() const { return m_request.get(); }
    const foundation::Value& date() const { return m_date; }

    void setRequest(UNNotificationRequest* request) { m_request = request; }
    void setDate(foundation::Value date) { m_date = std::move(date); }

    static void registerClass(device::Process&);

private:
    runtime::Ref<UNNotificationRequest> m_request;
    foundation::Value m_date;
};

} // namespace springboard
