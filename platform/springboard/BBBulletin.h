#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/springboard/Forward.h"

namespace springboard {

// One notification as the bulletin board publishes it: its texts, the app
// it belongs to (`sectionID`), its identifiers, its dates and what its
// default action does. Every field is set through the run time.
class BBBulletin : public runtime::NSObject {
public:
    using NSObject::NSObject;

    const foundation::Value& title() const { return m_title; }
    const foundation::Value& message() const { return m_message; }
    const foundation::Value& sectionID() const { return m_sectionID; }
    const foundation::Value& bulletinID() const { return m_bulletinID; }
    const foundation::Value& recordID() const { return m_recordID; }
    const foundation::Value& publisherBulletinID() const { return m_publisherBulletinID; }
    const foundation::Value& date() const { return m_date; }
    const foundation::Value& publicationDate() const { return m_publicationDate; }
    const foundation::Value& lastInterruptDate() const { return m_lastInterruptDate; }
    BBAction* defaultAction() const;
    bool clearable() const { return m_clearable; }
    bool showsMessagePreview() const { return m_showsMessagePreview; }

    static void registerClass(device::Process&);

private:
    foundation::Value m_title;
    foundation::Value m_message;
    foundation::Value m_sectionID;
    foundation::Value m_bulletinID;
    foundation::Value m_recordID;
    foundation::Value m_publisherBulletinID;
    foundation::Value m_date;
    foundation::Value m_publicationDate;
    foundation::Value m_lastInterruptDate;
    runtime::Ref<BBAction> m_defaultAction;
    bool m_clearable { false };
    bool m_showsMessagePreview { false };
};

} // namespace springboard
