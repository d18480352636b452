#include "platform/springboard/NCNotificationShortLookView.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/NCNotificationContent.h"

namespace springboard {

using foundation::Value;
using runtime::ClassBuilder;

void NCNotificationShortLookView::showContent(const NCNotificationContent& content)
{
    m_primaryText = content.title();
    m_primarySubtitleText = content.subtitle();
    m_secondaryText = content.message();
    m_summaryText = content.summaryText();
    m_icons = content.icons().isArray() ? content.icons() : Value::array();
}

void NCNotificationShortLookView::registerClass(device::Process& process)
{
    ClassBuilder::define<NCNotificationShortLookView>(process.runtime(), "NCNotificationShortLookView", "UIView")
        .property("primaryText", "setPrimaryText:", &NCNotificationShortLookView::m_primaryText)
        .property("primarySubtitleText", "setPrimarySubtitleText:", &NCNotificationShortLookView::m_primarySubtitleText)
        .property("secondaryText", "setSecondaryText:", &NCNotificationShortLookView::m_secondaryText)
        .property("summaryText", "setSummaryText:", &NCNotificationShortLookView::m_summaryText)
        .property("icons", "setIcons:", &NCNotificationShortLookView::m_icons);
}

} // namespace springboard
