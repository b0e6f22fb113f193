#include "Module/NavToolBarModule/SettingsViewController/CleanSettingsViewController.h"

#include "Module/NavToolBarModule/SettingsViewController/SettingsViewController.h"

#include "DataBase/DataBase.h"
#include "Module/MyStock/MyStockViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include "base/Paths.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

constexpr std::array<const char *, 7> kCleanedExtensions = {".jpg", ".JPG", ".jpeg", ".JPEG",
                                                            ".png", ".PNG", ".plist"};

} // namespace

CleanSettingsViewController::CleanSettingsViewController() {
    setTitle(kTitle);
    sectionArray = {"用户", "数据"};
    itemArray = {"清除账户信息"};
    userArray = {"清除历史数据"};
}

int CleanSettingsViewController::rowCount(int) const {
    return 1;
}

std::string CleanSettingsViewController::rowText(ui::IndexPath path) const {
    return path.section == 0 ? itemArray[0] : userArray[0];
}

std::string CleanSettingsViewController::footerText(int section) const {
    return section == 0 ? "清除所有用户的配置信息" : "清除历史查看过得走势和K线数据";
}

void CleanSettingsViewController::rowSelected(ui::IndexPath path) {
    if (path.section == 0)
        showAlert("清除账户信息", "是否清除账户信息，恢复成初始状态", "取消", {"确定"}, kAccountTag);
    else
        showAlert("清除历史数据", "是否清除历史数据", "取消", {"确定"}, kHistoryTag);
}

void CleanSettingsViewController::alertAnswered(ui::Alert &alert, int index) {
    if (index != 1)
        return;
    if (alert.tag == kAccountTag) {
        clearAccount();
    } else if (alert.tag == kHistoryTag) {
        const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
        LocalFileFunc::clearTempFiles(layer ? layer->IO_QuotesDate : 0);
    }
}

void CleanSettingsViewController::clearAccount() {
    cleanSettingsDoc();
    // What is still in memory would be written back by the next save: start from the defaults.
    DataManager::sharedDataManager().reloadUserFiles();
    base::Ref<ui::View> host = DataManager::sharedDataManager().msgboxParentHandle.lock();
    ui::Window *window = host ? host->window() : nullptr;
    auto *tabs = dynamic_cast<ui::TabBarController *>(window ? window->rootViewController() : nullptr);
    if (tabs) {
        // The watch-list screens return to the default group before the home tab shows.
        for (const auto &tab : tabs->viewControllers())
            if (auto *nav = dynamic_cast<ui::NavigationController *>(tab.get()))
                for (const auto &screen : nav->viewControllers())
                    if (auto *watchList = dynamic_cast<MyStockViewController *>(screen.get()))
                        watchList->ResetMyModuleAndStockArray();
        tabs->setSelectedIndex(0);
    }
    if (auto settings = parentTarget.lock())
        settings->LogoutCurrentAccount();
}

void CleanSettingsViewController::cleanSettingsDoc() {
    cleanDirectory(base::Paths::documents());
}

void CleanSettingsViewController::cleanDirectory(const std::string &directory) {
    namespace fs = std::filesystem;
    std::error_code walking;
    fs::recursive_directory_iterator it(directory, fs::directory_options::skip_permission_denied, walking),
        end;
    for (; !walking && it != end; it.increment(walking)) {
        // The entry itself, never what a link points to.
        std::error_code error;
        fs::file_status status = it->symlink_status(error);
        if (error || !fs::is_regular_file(status))
            continue;
        std::string extension = it->path().extension().string();
        if (std::find(kCleanedExtensions.begin(), kCleanedExtensions.end(), extension) !=
            kCleanedExtensions.end())
            fs::remove(it->path(), error);
    }
}
