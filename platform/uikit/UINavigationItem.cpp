#include "platform/uikit/UINavigationItem.h"

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIView.h"

namespace uikit {

using foundation::Value;
using runtime::Imp;
using runtime::Selector;

void UINavigationItem::registerClass(device::Process& process)
{
    runtime::ClassBuilder::define<UINavigationItem>(process.runtime(), "UINavigationItem", "NSObject")
        .property("title", "setTitle:", &UINavigationItem::m_title)
        .property("titleView", "setTitleView:", &UINavigationItem::m_titleView)
        .property("rightBarButtonItem", "setRightBarButtonItem:", &UINavigationItem::m_rightBarButtonItem)
        .method("largeTitleDisplayMode", Imp::of(&UINavigationItem::largeTitleDisplayMode))
        .method("setLargeTitleDisplayMode:", Imp::of([](UINavigationItem* self, Selector, int64_t mode) {
            // Modes the platform does not know are taken as automatic.
            self->m_largeTitleDisplayMode = mode >= Automatic && mode <= Never ? mode : Automatic;
        }));
}

} // namespace uikit
