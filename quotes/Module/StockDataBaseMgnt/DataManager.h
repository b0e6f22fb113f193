#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {
class Alert;
class Popover;
class View;
} // namespace ui

// The keeper of the user's own files in the documents directory: the watch-list groups and their
// stocks, the recently viewed and browsed securities, the first-run help flags and the user
// configuration with the saved market login. It also shows the application-wide tips that need
// one host view for every screen. One instance per process, used on the main thread only.
//
// Files are property lists. Where a file has a default, the bundle copy of the same name is read
// while the user's own copy is missing. Every write replaces the whole file atomically; a write
// that fails changes nothing, announces nothing and shows the message box "文件保存失败".
//
// Entries of a group file are {"MarketCode", "StockName"}; groups are {"ModelName",
// "ModelFileName"}, and a group's stocks live in "<ModelFileName>.plist".
class DataManager : public base::Object {
public:
    // Posted with this object and {"MSG_ID", "Data"}: "AddedNewStock" when a stock was added to or
    // removed from a group, "AddedLatestBrowse" when the browsed list gained a security.
    static constexpr const char *MyStockSwitchCenter = "MyStockSwitchCenter";
    static constexpr int MaxLatestCount = 20;
    static constexpr const char *ExistsText = "该股已存在自选股中";
    static constexpr const char *WriteFailedText = "文件保存失败";
    static constexpr const char *DamagedGroupText = "自选股文件已损坏，无法修改";

    static DataManager &sharedDataManager();
    // Puts a fresh instance in place of the process-wide one, so that a test starts from clean
    // state; the next use of sharedDataManager() sees it. References taken before are not to be
    // used after.
    static void resetSharedDataManager();
    // Sent once at launch: loads everything.
    void initialize() { initData(); }
    // Reads the groups, the recent lists and the configuration afresh, runs the one-time import
    // of the older program's watch-list and makes the network alert.
    void initData();
    // Reads the groups, the recent lists and the configuration afresh (the bundle's defaults where
    // the user's files are gone), without the start-up's import or the shared popovers' reset.
    void reloadUserFiles();

    std::string dataFilePath(std::string_view fileName) const;

    // New arrays read from the files on every call, so screens never work on stale copies.
    base::Array GetCurrentModelsArray() const;
    // The group's stocks; empty when its file is damaged.
    base::Array GetCurrentMyStockArrayByModelName(std::string_view modelFileName) const;
    // Inserts the stock at the top of the group and announces it; a stock already there only
    // shows the message box "该股已存在自选股中". A damaged group file is never replaced: the
    // change is refused with a message box. True when the file was written.
    bool AddNewStockToModel(const std::string &modelName, const std::string &modelFileName,
                            const std::string &stockName, const std::string &marketCode);
    // Removes the first stock with the code and announces it as "AddedNewStock" too.
    bool DelNewStockToModel(const std::string &modelName, const std::string &modelFileName,
                            const std::string &stockName, const std::string &marketCode);
    bool SaveMyStockArray(const base::Array &array, std::string_view modelFileName);
    bool IsStockInMyStock(std::string_view code, std::string_view modelFileName) const;

    // Moves the security to the top of the list (at most 20, most recent first) and writes it.
    void AddLatestRecentViewed(const std::string &stockName, const std::string &marketCode);
    void AddLatestBrowseViewed(const std::string &stockName, const std::string &marketCode);
    base::Array GetLatestRecentViewed() const;
    base::Array GetLatestBrowseViewed() const;

    // Whether the help overlay with the id is still to be shown: YES unless the last entry with
    // the id says otherwise.
    bool IsFirstShowHelp(int helpId);
    void SetHelpShowState(bool isShow, int helpId);

    bool SaveUserConfigFile();
    int GetTradeAddedAccountIndex() const;
    void SetTradeAddedAccountIndex(int index);
    // Keeps the name, and the password only when asked to, enciphered with the login key.
    void SaveLoginNamePwd(const std::string &loginName, const std::string &loginPwd, bool isSavePwd);
    void SetAutoLogin(bool isAutoLogin);

    // The message box (gone after 2.5 s), centred on the parent, else on the host view; nothing
    // without either.
    void ShowAlertView(const std::string &text, ui::View *parentView = nullptr);
    // The blocking network alert, shown again with the text.
    void ShowAlertTipInfo(const std::string &text);
    void removeShowAlertTipInfo();
    // The breaking-news tip over the host view; it removes itself.
    void ShowBreakingNews(const std::string &title, const std::string &dateTime, const std::string &news);

    base::Array gMyStockModelArray;
    base::Array gLatestRecentViewedArray;
    base::Array gLatestBrowseViewedArray;
    base::Dict gUserConfigDict;
    // The view that hosts the tips: the main tab-bar view, set once the tabs exist. Not retained.
    base::Weak<ui::View> msgboxParentHandle;
    // Held here for the shared screen base.
    base::Ref<ui::Popover> gSettingsPopoverVC;
    base::Ref<ui::Popover> gBreakingNewsPopoverVC;

    const base::Ref<ui::Alert> &alertTipInfo() const { return alertTipInfo_; }

private:
    DataManager() = default;

    std::optional<base::Array> readGroup(std::string_view modelFileName) const;
    bool changeGroup(const std::string &modelName, const std::string &modelFileName,
                     const std::string &stockName, const std::string &marketCode, bool add);
    bool addLatest(base::Array &list, const char *fileName, const std::string &stockName,
                   const std::string &marketCode);
    void reloadTipHelp();
    void importOldVersionConfig();
    bool write(const base::Value &value, const std::string &fileName);
    void post(const char *msgId, base::Dict data);

    base::Array gTipHelpArray;
    base::Ref<ui::Alert> alertTipInfo_;
};
