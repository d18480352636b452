#include "platform/springboard/SBNotificationBannerWindow.h"

#include "platform/device/Process.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIEvent.h"

namespace springboard {

using runtime::ClassBuilder;
using runtime::Imp;
using runtime::Selector;

SBNotificationBannerWindow::SBNotificationBannerWindow(runtime::Class* cls)
    : UIWindow(cls)
{
    setWindowLevel(bannerLevel);
}

void SBNotificationBannerWindow::registerClass(device::Process& process)
{
    ClassBuilder::define<SBNotificationBannerWindow>(process.runtime(), "SBNotificationBannerWindow", "UIWindow")
        .method("_canBecomeKeyWindow", Imp::of([](SBNotificationBannerWindow*, Selector) { return false; }))
        // The window lets through every touch that lands on no banner.
        .method("hitTest:withEvent:",
            Imp::of([](SBNotificationBannerWindow* self, Selector, uikit::Point point,
                        runtime::Object* event) -> runtime::Object* {
                uikit::UIView* hit = self->hitTest(point, dynamic_cast<uikit::UIEvent*>(event));
                return hit == self ? nullptr : hit;
            }));
}

} // namespace springboard
