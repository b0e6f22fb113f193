#pragma once

#include "Module/NavToolBarModule/SettingsViewController/SettingsTableController.h"

#include <string>
#include <vector>

// The screen that opened the settings popover; told when the popover must close.
class SettingsViewControllerDelegate {
public:
    virtual ~SettingsViewControllerDelegate() = default;
    virtual base::Opt<void> ReturnLogoutAction() { return base::notImplemented; }
};

// The settings popover's screen "通用设置": the account actions (log in or switch user, register,
// rights, clearing user data, watch-list synchronisation) and the information pages (guide, upgrade
// check, risk warning, about). The account rows follow the level-2 login each time it shows.
//
// Logging out closes the quote and trade connections, forgets the saved market login, asks the
// application for the market login ("AppNotify" {"MSG_ID": "Stock_MSG", "Data": "MainLogin"}) and
// closes the popover. Synchronising the watch-list needs a logged-in account and a live quote link;
// otherwise the user is told so and nothing is sent.
class SettingsViewController : public SettingsTableController {
public:
    static constexpr gfx::Size kPopoverSize{320, 400};
    static constexpr int kSyncAlertTag = 1004, kSyncConfirmTagBase = 10040;
    static constexpr const char *kTitle = "通用设置";
    static constexpr const char *kNoAccountSyncText = "对不起，请先登录或注册，才能进行自选股同步。";
    static constexpr const char *kSyncOfflineText = "行情服务器连接已断开，暂时无法同步自选股，请稍后再试。";
    static constexpr const char *kRegisterPath = "/register.jsp";

    SettingsViewController();
    void viewWillAppear(bool animated) override;

    void LogoutCurrentAccount();

    // Rows of the two sections.
    std::vector<std::string> itemArray, userArray;
    base::Weak<SettingsViewControllerDelegate> delegate;

protected:
    int rowCount(int section) const override;
    std::string rowText(ui::IndexPath path) const override;
    bool rowDiscloses(ui::IndexPath path) const override;
    void rowSelected(ui::IndexPath path) override;
    void alertAnswered(ui::Alert &alert, int index) override;

private:
    void returnLogout();
    void showUserGuide();
    void askSync();
    void push(base::Ref<ui::ViewController> screen);
};
