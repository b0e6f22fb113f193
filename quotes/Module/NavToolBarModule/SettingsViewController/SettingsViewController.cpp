#include "Module/NavToolBarModule/SettingsViewController/SettingsViewController.h"

#include "Module/NavToolBarModule/SettingsViewController/AboutViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/AccountPowerController.h"
#include "Module/NavToolBarModule/SettingsViewController/CleanSettingsViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"

#include "Common/ServerConfig.h"
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/NotificationCenter.h"
#include "base/Str.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/Window.h"

namespace {

constexpr const char *kSyncTitle = "自选股同步";
constexpr const char *kCancel = "取 消", *kConfirm = "确 定";

struct SyncChoice {
    const char *button, *message;
};
// By the index of the button in the first alert (1 download and replace, 2 merge, 3 upload).
const SyncChoice kSyncChoices[] = {
    {"下载自选股",
     "该方式将您以前在服务端保存的自选股下载并替换手机上原有的自选列表，您确定下载自选数据吗？"},
    {"同步自选股", "该方式将您目前的自选列表与原来在服务端保持的自选列表合并，您确定合并自选数据吗？"},
    {"上传自选股",
     "该方式将您目前手机上设置的自选股进行上传替换服务端所保存的自选股，您确定上传自选数据吗？"},
};

std::string accountName() {
    const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
    return layer ? layer->IO_L2UserName : std::string();
}

} // namespace

SettingsViewController::SettingsViewController() : SettingsTableController(10) {
    setTitle(kTitle);
    sectionArray = {"用户", "信息"};
    itemArray = {"登录", "新用户注册", "查看用户权限", "清除用户数据", "自选股同步"};
    userArray = {"操作指引", "软件升级", "风险提示", "关于"};
}

void SettingsViewController::viewWillAppear(bool animated) {
    SettingsTableController::viewWillAppear(animated);
    std::string name = accountName();
    sectionArray[0] = name.empty() ? "用户" : base::str::format("用户: %@", name);
    itemArray[0] = name.empty() ? "登录" : "切换用户";
    mTableView().reloadData();
}

int SettingsViewController::rowCount(int section) const {
    return int(section == 0 ? itemArray.size() : userArray.size());
}

std::string SettingsViewController::rowText(ui::IndexPath path) const {
    const std::vector<std::string> &rows = path.section == 0 ? itemArray : userArray;
    return path.row < int(rows.size()) ? rows[size_t(path.row)] : std::string();
}

bool SettingsViewController::rowDiscloses(ui::IndexPath path) const {
    return path.row == 2 || path.row == 3;
}

void SettingsViewController::rowSelected(ui::IndexPath path) {
    if (path.section == 0) {
        switch (path.row) {
        case 0:
            LogoutCurrentAccount();
            break;
        case 1:
            if (std::string url = ServerConfig::urlFor(ServerConfig::AccountServerKey, kRegisterPath);
                !url.empty())
                ui::Application::shared().openUrl(url);
            break;
        case 2:
            push(base::make<AccountPowerController>());
            break;
        case 3: {
            auto clean = base::make<CleanSettingsViewController>();
            clean->parentTarget = weakSelf<SettingsViewController>();
            push(clean);
            break;
        }
        case 4:
            askSync();
            break;
        }
        return;
    }
    switch (path.row) {
    case 0:
        showUserGuide();
        break;
    case 1:
        DataBase::sharedDataBase()->AlertUpgrade(false);
        break;
    case 2:
    case 3: {
        auto about = base::make<AboutViewController>();
        about->aboutType = path.row == 2 ? AboutViewController::RiskWarning : AboutViewController::About;
        push(about);
        break;
    }
    }
}

void SettingsViewController::push(base::Ref<ui::ViewController> screen) {
    if (ui::NavigationController *nav = navigationController())
        nav->push(std::move(screen), true);
}

void SettingsViewController::askSync() {
    if (accountName().empty()) {
        Util::ShowInfoBox(kNoAccountSyncText);
        return;
    }
    std::vector<std::string> buttons;
    for (const SyncChoice &choice : kSyncChoices)
        buttons.push_back(choice.button);
    showAlert(kSyncTitle, "", kCancel, buttons, kSyncAlertTag);
}

void SettingsViewController::alertAnswered(ui::Alert &alert, int index) {
    if (alert.tag == kSyncAlertTag) {
        if (index >= 1 && index <= 3) {
            const SyncChoice &choice = kSyncChoices[index - 1];
            showAlert(choice.button, choice.message, kCancel, {kConfirm}, kSyncConfirmTagBase + index);
        }
        return;
    }
    int type = alert.tag - kSyncConfirmTagBase;
    if (index != 1 || type < 1 || type > 3)
        return;
    base::Ref<DataBase> db = DataBase::sharedDataBase();
    if (!db->isHQConnected()) {
        Util::ShowInfoBox(kSyncOfflineText, kSyncTitle);
        return;
    }
    db->syncMyStock(type);
}

void SettingsViewController::LogoutCurrentAccount() {
    DataBase::sharedDataBase()->Disconnect();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
    DataManager::sharedDataManager().SaveLoginNamePwd("", "", false);
    base::NotificationCenter::shared().post(DataBase::AppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Stock_MSG"}, {"Data", "MainLogin"}});
    returnLogout();
}

void SettingsViewController::returnLogout() {
    auto owner = delegate.lock();
    if (owner && owner->ReturnLogoutAction())
        return;
    // The screen that opened the popover is gone: close it here.
    if (const base::Ref<ui::Popover> &popover = DataManager::sharedDataManager().gSettingsPopoverVC)
        popover->dismiss(true);
}

void SettingsViewController::showUserGuide() {
    returnLogout();
    base::Ref<ui::View> host = DataManager::sharedDataManager().msgboxParentHandle.lock();
    ui::Window *window = host ? host->window() : view().window();
    if (ui::ViewController *root = window ? window->rootViewController() : nullptr)
        root->presentModal(base::make<UserGuideViewController>(), false);
}
