#pragma once

#include "platform/uikit/UIViewController.h"

namespace springboard {

// The controller of the home screen: its view fills the screen, and when it
// loads it lays out the icon list below the status bar and above the
// bottom safe area.
class SBHomeScreenViewController : public uikit::UIViewController {
public:
    using UIViewController::UIViewController;

    uikit::UIView* iconListView() const { return m_iconListView.get(); }

    static void registerClass(device::Process&);

private:
    void addIconListView(device::Process&);

    runtime::Ref<uikit::UIView> m_iconListView;
};

} // namespace springboard
