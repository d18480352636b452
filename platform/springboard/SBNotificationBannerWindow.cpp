#include "platform/springboard/SBNotificationBannerWindow.h"

#include "platform/device/Process.h"
#include "platform/uikit/ClassBuilder.h"

namespace springboard {

using runtime::Imp;
using runtime::Selector;
using uikit::ClassBuilder;

SBNotificationBannerWindow::SBNotificationBannerWindow(runtime::Class* cls)
    : UIWindow(cls)
{
    setWindowLevel(bannerLevel);
}

void SBNotificationBannerWindow::registerClass(device::Process& process)
{
    ClassBuilder::define<SBNotificationBannerWindow>(process.runtime(), "SBNotificationBannerWindow", "UIWindow")
        .method("_canBecomeKeyWindow", Imp::of([](SBNotificationBannerWindow*, Selector) { return false; }));
}

} // namespace springboard
