#pragma once

#include "platform/preferences/HBRootListController.h"

namespace brixprefs {

// The bundle's first page: the rows of its "Root" specifier file under a
// banner picture that stretches when the list is pulled down, the title
// "Brix" in the navigation bar that gives way to the bundle's icon once the
// list has scrolled past the banner, a "Respring" button that restarts the
// home screen after asking, and the action that asks the home screen for a
// test banner (`sendTestBanner`, for a button row of "Root").
class BRXRootListController : public preferences::HBRootListController {
public:
    using HBRootListController::HBRootListController;

    runtime::Object* headerView() const { return m_headerView.get(); }
    runtime::Object* headerImageView() const { return m_headerImageView.get(); }
    runtime::Object* titleLabel() const { return m_titleLabel.get(); }
    runtime::Object* iconView() const { return m_iconView.get(); }
    runtime::Object* respringButton() const { return m_respringButton.get(); }

    static void registerClass(device::Process&);

private:
    void setUp();
    foundation::Value loadedSpecifiers();
    void setUpNavigationItem();
    void setUpHeader();
    void styleEnclosingBar();
    void didScroll(runtime::Object* scrollView);
    void askToRespring();
    foundation::Value localized(const char* key, const char* text) const;

    runtime::Ref<runtime::Object> m_lBundle;
    runtime::Ref<runtime::Object> m_respringButton;
    runtime::Ref<runtime::Object> m_headerView;
    runtime::Ref<runtime::Object> m_headerImageView;
    runtime::Ref<runtime::Object> m_titleLabel;
    runtime::Ref<runtime::Object> m_iconView;
};

} // namespace brixprefs
