#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"

void UserGuideViewController::viewDidLoad() {
    view().setBackgroundColor(gfx::Color::black());
    m_guideView =
        base::make<UserGuideView>(gfx::Rect{0, 0, UserGuideView::kPageSize.w, UserGuideView::kPageSize.h});
    m_guideView->delegate = weakSelf<UserGuideViewController>();
    view().addSubview(m_guideView);
}

base::Opt<void> UserGuideViewController::userGuideView_dismiss() {
    dismissModal(false);
    return {};
}
