#pragma once

#include "ui/ViewController.h"

// The screen that opened the settings popover; told when the user logs out from it.
class SettingsViewControllerDelegate {
public:
    virtual ~SettingsViewControllerDelegate() = default;
    virtual base::Opt<void> ReturnLogoutAction() { return base::notImplemented; }
};

// The settings screen of the shared settings popover.
class SettingsViewController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 400};

    void viewDidLoad() override;

    base::Weak<SettingsViewControllerDelegate> delegate;
};
