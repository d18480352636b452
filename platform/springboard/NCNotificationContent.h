#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace springboard {

// What a notification shows: its title, subtitle, message, the summary line
// of a grouped notification, and its own icons (an array of images).
class NCNotificationContent : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    const foundation::Value& subtitle() const { return m_subtitle; }
    const foundation::Value& message() const { return m_message; }
    const foundation::Value& summaryText() const { return m_summaryText; }
    const foundation::Value& icons() const { return m_icons; }

    void setTexts(
        foundation::Value title, foundation::Value subtitle, foundation::Value message, foundation::Value summaryText);
    void setIcons(foundation::Value icons) { m_icons = std::move(icons); }

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    foundation::Value m_subtitle;
    foundation::Value m_message;
    foundation::Value m_summaryText;
    foundation::Value m_icons;
};

} // namespace springboard
