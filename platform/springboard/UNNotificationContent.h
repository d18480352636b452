#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace springboard {

// What an app put into its notification: the texts and its own payload
// dictionary (`userInfo`), which the system passes on untouched.
class UNNotificationContent : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    const foundation::Value& subtitle() const { return m_subtitle; }
    const foundation::Value& body() const { return m_body; }
    const foundation::Value& userInfo() const { return m_userInfo; }

    void setTexts(foundation::Value title, foundation::Value subtitle, foundation::Value body);
    void setUserInfo(foundation::Value userInfo) { m_userInfo = std::move(userInfo); }

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    foundation::Value m_subtitle;
    foundation::Value m_body;
    foundation::Value m_userInfo;
};

} // namespace springboard
