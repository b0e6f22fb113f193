#include "Module/NavToolBarModule/SettingsViewController/SettingsViewController.h"

void SettingsViewController::viewDidLoad() {
    setContentSizeInPopover(kContentSize);
}
