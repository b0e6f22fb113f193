#include "Module/StockDataBaseMgnt/DataManager.h"

#include "Common/FileFunc.h"
#include "Components/CMAlertView.h"
#include "EncryptorAES.h"
#include "Module/NewsViewController/BreakingNewsTipView.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/PropertyList.h"
#include "ui/Alert.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr const char *ModuleListName = "MyStockModuleList";
constexpr const char *TipHelpName = "TipHelpSettings";
constexpr const char *UserConfigName = "UserConfig";
constexpr const char *RecentFile = "LatestRecentViewed.plist";
constexpr const char *BrowseFile = "LatestBrowseViewed.plist";
constexpr const char *ImportedGroupFile = "MyStockList.plist";
constexpr const char *OldConfigFile = "UserConfig2012.stk";
constexpr const char *ImportFlag = "needReadOldVersionConfig";

std::string plistName(std::string_view name) {
    return std::string(name) + ".plist";
}

// A group's file name comes from a file itself, so it must not lead out of the documents directory.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The user's copy: nothing when it is missing, null when it is there but unreadable.
std::optional<base::Value> readUserCopy(const std::string &path) {
    if (!base::FileManager::exists(path))
        return std::nullopt;
    return base::PropertyList::read(path).value_or(base::Value());
}

base::Value readBundleCopy(std::string_view name) {
    std::optional<std::string> path = base::Bundle::main().pathFor(name, "plist");
    return path ? base::PropertyList::read(*path).value_or(base::Value()) : base::Value();
}

base::Array arrayIn(const base::Value &value) {
    return value.array() ? *value.array() : base::Array();
}

bool hasCode(const base::Value &entry, std::string_view code) {
    const base::Value stored = entry["MarketCode"];
    return stored.string() && *stored.string() == code;
}

bool isHelp(const base::Value &entry, int helpId) {
    const base::Value id = entry["TIP_HELP_ID"];
    return id.isNumber() && id.intValue() == helpId;
}

base::Dict entry(const std::string &stockName, const std::string &marketCode) {
    return {{"MarketCode", marketCode}, {"StockName", stockName}};
}

} // namespace

namespace {

base::Ref<DataManager> &sharedManagerSlot() {
    static base::Ref<DataManager> instance;
    return instance;
}

} // namespace

DataManager &DataManager::sharedDataManager() {
    static std::mutex lock;
    std::lock_guard guard(lock);
    base::Ref<DataManager> &instance = sharedManagerSlot();
    if (!instance)
        instance.reset(new DataManager);
    return *instance;
}

void DataManager::resetSharedDataManager() {
    sharedManagerSlot().reset(new DataManager);
}

std::string DataManager::dataFilePath(std::string_view fileName) const {
    return FileFunc::getFilePath(fileName);
}

void DataManager::initData() {
    reloadUserFiles();
    gSettingsPopoverVC = nullptr;
    gBreakingNewsPopoverVC = nullptr;
    importOldVersionConfig();
    removeShowAlertTipInfo();
    alertTipInfo_ =
        base::make<ui::Alert>("提示", "网络连接已断开，请检查本地网络是否畅通...",
                              base::Weak<ui::AlertDelegate>(), "关闭", std::vector<std::string>{});
}

void DataManager::reloadUserFiles() {
    gMyStockModelArray = GetCurrentModelsArray();
    gLatestRecentViewedArray = GetLatestRecentViewed();
    gLatestBrowseViewedArray = GetLatestBrowseViewed();
    gTipHelpArray = base::Array();
    gUserConfigDict = base::Dict();
    // A damaged configuration counts as missing: the bundle copy stands in until the next save.
    base::Value config = readUserCopy(dataFilePath(plistName(UserConfigName))).value_or(base::Value());
    if (!config.dict())
        config = readBundleCopy(UserConfigName);
    if (const base::Dict *entries = config.dict())
        for (const auto &[key, value] : *entries)
            gUserConfigDict.set(key, value);
}

void DataManager::importOldVersionConfig() {
    if (const base::Value *flag = gUserConfigDict.find(ImportFlag); flag && !flag->boolValue())
        return;
    gUserConfigDict.set(ImportFlag, false);
    SaveUserConfigFile();
    // The flag alone is not enough: when it could not be saved, the import would run again at the
    // next start and replace whatever the user collected since.
    if (base::FileManager::exists(dataFilePath(ImportedGroupFile)))
        return;
    std::optional<base::Value> old = base::PropertyList::read(dataFilePath(OldConfigFile));
    const base::Value stocks = old ? (*old)["SelfSelectStock"] : base::Value();
    if (!old || !old->dict() || !stocks.array())
        return;
    base::Array imported;
    for (const base::Value &item : *stocks.array())
        if (item.dict())
            imported.add(entry(item["name"].stringValue(), item["code"].stringValue()));
    write(imported, ImportedGroupFile);
}

base::Array DataManager::GetCurrentModelsArray() const {
    base::Value groups = readUserCopy(dataFilePath(plistName(ModuleListName))).value_or(base::Value());
    return arrayIn(groups.array() ? groups : readBundleCopy(ModuleListName));
}

std::optional<base::Array> DataManager::readGroup(std::string_view modelFileName) const {
    if (!isPlainName(modelFileName))
        return std::nullopt;
    std::optional<base::Value> stocks = readUserCopy(dataFilePath(plistName(modelFileName)));
    if (!stocks)
        return arrayIn(readBundleCopy(modelFileName));
    if (!stocks->array())
        return std::nullopt;
    return *stocks->array();
}

base::Array DataManager::GetCurrentMyStockArrayByModelName(std::string_view modelFileName) const {
    return readGroup(modelFileName).value_or(base::Array());
}

bool DataManager::IsStockInMyStock(std::string_view code, std::string_view modelFileName) const {
    base::Array stocks = GetCurrentMyStockArrayByModelName(modelFileName);
    return std::any_of(stocks.begin(), stocks.end(), [&](const base::Value &e) { return hasCode(e, code); });
}

bool DataManager::AddNewStockToModel(const std::string &modelName, const std::string &modelFileName,
                                     const std::string &stockName, const std::string &marketCode) {
    return changeGroup(modelName, modelFileName, stockName, marketCode, true);
}

bool DataManager::DelNewStockToModel(const std::string &modelName, const std::string &modelFileName,
                                     const std::string &stockName, const std::string &marketCode) {
    return changeGroup(modelName, modelFileName, stockName, marketCode, false);
}

bool DataManager::changeGroup(const std::string &modelName, const std::string &modelFileName,
                              const std::string &stockName, const std::string &marketCode, bool add) {
    std::optional<base::Array> stocks = readGroup(modelFileName);
    if (!stocks) {
        ShowAlertView(DamagedGroupText);
        return false;
    }
    auto &items = stocks->items();
    auto found = std::find_if(items.begin(), items.end(),
                              [&](const base::Value &e) { return hasCode(e, marketCode); });
    if (add && found != items.end()) {
        ShowAlertView(ExistsText);
        return false;
    }
    if (!add && found == items.end())
        return false;
    if (add)
        items.insert(items.begin(), entry(stockName, marketCode));
    else
        items.erase(found);
    if (!SaveMyStockArray(*stocks, modelFileName))
        return false;
    post("AddedNewStock", {{"ModelName", modelName},
                           {"ModelFileName", modelFileName},
                           {"StockName", stockName},
                           {"MarketCode", marketCode}});
    return true;
}

bool DataManager::SaveMyStockArray(const base::Array &array, std::string_view modelFileName) {
    if (!isPlainName(modelFileName)) {
        ShowAlertView(WriteFailedText);
        return false;
    }
    return write(array, plistName(modelFileName));
}

void DataManager::AddLatestRecentViewed(const std::string &stockName, const std::string &marketCode) {
    addLatest(gLatestRecentViewedArray, RecentFile, stockName, marketCode);
}

void DataManager::AddLatestBrowseViewed(const std::string &stockName, const std::string &marketCode) {
    if (addLatest(gLatestBrowseViewedArray, BrowseFile, stockName, marketCode))
        post("AddedLatestBrowse", {{"StockName", stockName}, {"MarketCode", marketCode}});
}

bool DataManager::addLatest(base::Array &list, const char *fileName, const std::string &stockName,
                            const std::string &marketCode) {
    base::Array changed = list.copy();
    std::erase_if(changed.items(), [&](const base::Value &e) { return hasCode(e, marketCode); });
    if (changed.size() >= MaxLatestCount)
        changed.remove(changed.size() - 1);
    changed.insert(0, entry(stockName, marketCode));
    if (!write(changed, fileName))
        return false;
    list.items() = changed.items();
    return true;
}

base::Array DataManager::GetLatestRecentViewed() const {
    return arrayIn(readUserCopy(dataFilePath(RecentFile)).value_or(base::Value()));
}

base::Array DataManager::GetLatestBrowseViewed() const {
    return arrayIn(readUserCopy(dataFilePath(BrowseFile)).value_or(base::Value()));
}

void DataManager::reloadTipHelp() {
    base::Value flags = readUserCopy(dataFilePath(plistName(TipHelpName))).value_or(base::Value());
    gTipHelpArray = arrayIn(flags.array() ? flags : readBundleCopy(TipHelpName));
}

bool DataManager::IsFirstShowHelp(int helpId) {
    reloadTipHelp();
    const auto &items = gTipHelpArray.items();
    auto last =
        std::find_if(items.rbegin(), items.rend(), [&](const base::Value &e) { return isHelp(e, helpId); });
    return last == items.rend() || (*last)["IsShow"].boolValue();
}

void DataManager::SetHelpShowState(bool isShow, int helpId) {
    reloadTipHelp();
    for (base::Value &item : gTipHelpArray)
        if (isHelp(item, helpId)) {
            base::Dict shown = item.dict()->copy();
            shown.set("IsShow", isShow);
            item = shown;
        }
    write(gTipHelpArray, plistName(TipHelpName));
}

bool DataManager::SaveUserConfigFile() {
    return write(gUserConfigDict, plistName(UserConfigName));
}

int DataManager::GetTradeAddedAccountIndex() const {
    const base::Value *index = gUserConfigDict.find("TradeAddedAccountIndex");
    return index ? int(index->intValue()) : 0;
}

void DataManager::SetTradeAddedAccountIndex(int index) {
    if (index == GetTradeAddedAccountIndex())
        return;
    gUserConfigDict.set("TradeAddedAccountIndex", index);
    SaveUserConfigFile();
}

void DataManager::SaveLoginNamePwd(const std::string &loginName, const std::string &loginPwd,
                                   bool isSavePwd) {
    auto encipher = [](const std::string &text) {
        return EncryptorAES::encryptBase64String(text, EncryptorAES::LoginKeyString, false).value_or("");
    };
    gUserConfigDict.set("MainLoginName", loginName.empty() ? std::string() : encipher(loginName));
    gUserConfigDict.set("MainLoginPwd", isSavePwd && !loginPwd.empty() ? encipher(loginPwd) : std::string());
    gUserConfigDict.set("IsSaveMainLoginPwd", isSavePwd);
    SaveUserConfigFile();
}

void DataManager::SetAutoLogin(bool isAutoLogin) {
    gUserConfigDict.set("IsAutoMainLogin", isAutoLogin);
    SaveUserConfigFile();
}

void DataManager::ShowAlertView(const std::string &text, ui::View *parentView) {
    base::Ref<ui::View> host = msgboxParentHandle.lock();
    ui::View *parent = parentView ? parentView : host.get();
    if (!parent)
        return;
    auto box = base::make<CMAlertView>(gfx::Rect{0, 0, 220, 100});
    box->SetAlertInfoText(text);
    box->setCenter({parent->bounds().midX(), parent->bounds().midY()});
    parent->addSubview(box);
}

void DataManager::ShowAlertTipInfo(const std::string &text) {
    if (!alertTipInfo_)
        return;
    alertTipInfo_->dismiss(0, false);
    alertTipInfo_->messageLabel().setText(text);
    alertTipInfo_->show();
}

void DataManager::removeShowAlertTipInfo() {
    if (alertTipInfo_)
        alertTipInfo_->dismiss(0, false);
}

void DataManager::ShowBreakingNews(const std::string &title, const std::string &dateTime,
                                   const std::string &news) {
    base::Ref<ui::View> host = msgboxParentHandle.lock();
    if (!host)
        return;
    base::Ref<BreakingNewsTipView> tip = BreakingNewsTipView::create({10, 64, 300, 160});
    tip->titleLabel().setText(title);
    tip->dateTimeLabel().setText(dateTime);
    tip->newsLabel().setText(news);
    host->addSubview(tip);
}

bool DataManager::write(const base::Value &value, const std::string &fileName) {
    if (base::PropertyList::write(value, dataFilePath(fileName)))
        return true;
    ShowAlertView(WriteFailedText);
    return false;
}

void DataManager::post(const char *msgId, base::Dict data) {
    base::NotificationCenter::shared().post(MyStockSwitchCenter, self(),
                                            {{"MSG_ID", msgId}, {"Data", std::move(data)}});
}
