#include "platform/springboard/BBBulletin.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BBAction.h"

namespace springboard {

using runtime::ClassBuilder;

BBAction* BBBulletin::defaultAction() const
{
    return m_defaultAction.get();
}

void BBBulletin::registerClass(device::Process& process)
{
    ClassBuilder::define<BBBulletin>(process.runtime(), "BBBulletin", "NSObject")
        .property("title", "setTitle:", &BBBulletin::m_title)
        .property("message", "setMessage:", &BBBulletin::m_message)
        .property("sectionID", "setSectionID:", &BBBulletin::m_sectionID)
        .property("bulletinID", "setBulletinID:", &BBBulletin::m_bulletinID)
        .property("recordID", "setRecordID:", &BBBulletin::m_recordID)
        .property("publisherBulletinID", "setPublisherBulletinID:", &BBBulletin::m_publisherBulletinID)
        .property("date", "setDate:", &BBBulletin::m_date)
        .property("publicationDate", "setPublicationDate:", &BBBulletin::m_publicationDate)
        .property("lastInterruptDate", "setLastInterruptDate:", &BBBulletin::m_lastInterruptDate)
        .property("defaultAction", "setDefaultAction:", &BBBulletin::m_defaultAction)
        .property("clearable", "setClearable:", &BBBulletin::m_clearable)
        .property("showsMessagePreview", "setShowsMessagePreview:", &BBBulletin::m_showsMessagePreview);
}

} // namespace springboard
