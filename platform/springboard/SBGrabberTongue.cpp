#include "platform/springboard/SBGrabberTongue.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Selector;

bool SBGrabberTongue::dismiss(int64_t style, bool)
{
    if (!m_visible)
        return false;
    m_visible = false;
    m_lastDismissalStyle = style;
    return true;
}

void SBGrabberTongue::registerClass(device::Process& process)
{
    ClassBuilder::define<SBGrabberTongue>(process.runtime(), "SBGrabberTongue", "NSObject")
        .method("isVisible", Imp::of(&SBGrabberTongue::isVisible))
        .method("presentAnimated:", Imp::of([](SBGrabberTongue* self, Selector, bool) { self->m_visible = true; }))
        .method("dismissWithStyle:animated:", Imp::of(&SBGrabberTongue::dismiss));
}

} // namespace springboard
