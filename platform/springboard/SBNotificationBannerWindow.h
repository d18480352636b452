#pragma once

#include "platform/uikit/UIWindow.h"

namespace springboard {

// The window banners are presented in, above the status bar. It never takes
// keyboard focus from the app in front: it cannot become the key window.
class SBNotificationBannerWindow : public uikit::UIWindow {
public:
    static constexpr double bannerLevel = 1070;

    explicit SBNotificationBannerWindow(runtime::Class*);

    static void registerClass(device::Process&);
};

} // namespace springboard
