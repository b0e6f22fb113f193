#pragma once

#include "Module/NavToolBarModule/SettingsViewController/SettingsTableController.h"

#include <string>
#include <vector>

class SettingsViewController;

// "清除用户信息": clearing the account information (every property list and picture the user's
// documents hold, then a log-out) or the cached chart history, each after a confirmation.
//
// The account clearing puts the in-memory user state (watch-list groups, recent lists,
// configuration) back to the bundle's defaults before anything can write it again, shows the first
// tab and logs out through the settings screen.
class CleanSettingsViewController : public SettingsTableController {
public:
    static constexpr int kAccountTag = 333, kHistoryTag = 334;
    static constexpr const char *kTitle = "清除用户信息";

    CleanSettingsViewController();

    // Deletes every regular file below the documents directory whose extension is exactly "jpg",
    // "JPG", "jpeg", "JPEG", "png", "PNG" or "plist"; links are neither deleted nor followed, and
    // a file that cannot be deleted is passed over.
    void cleanSettingsDoc();
    static void cleanDirectory(const std::string &directory);

    std::vector<std::string> itemArray, userArray;
    base::Weak<SettingsViewController> parentTarget;

protected:
    int rowCount(int section) const override;
    std::string rowText(ui::IndexPath path) const override;
    std::string footerText(int section) const override;
    void rowSelected(ui::IndexPath path) override;
    void alertAnswered(ui::Alert &alert, int index) override;

private:
    void clearAccount();
};
