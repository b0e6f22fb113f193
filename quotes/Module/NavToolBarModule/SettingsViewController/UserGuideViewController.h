#pragma once

#include "Module/NavToolBarModule/SettingsViewController/UserGuideView.h"

#include "ui/ViewController.h"

// The full-screen user guide, shown modally from the settings and by the application's "Guide_MSG"
// message; it closes itself when its start button is tapped.
class UserGuideViewController : public ui::ViewController, public UserGuideViewDelegate {
public:
    void viewDidLoad() override;
    base::Opt<void> userGuideView_dismiss() override;

    UserGuideView *guideView() const { return m_guideView.get(); }

private:
    base::Ref<UserGuideView> m_guideView;
};
