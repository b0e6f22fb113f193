// The coordinator's own replies (breaking news, watch-list sync), the upgrade notice and its alerts.
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "base/Str.h"
#include "ui/Alert.h"
#include "ui/Application.h"

#include <algorithm>

namespace {

constexpr int RealInformationType = 2600;
constexpr int SyncType = 2912;
constexpr const char *SyncTitle = "自选股同步";
constexpr const char *MyStockFile = "MyStockList";
constexpr const char *ConfirmTitle = "确 定";

enum SyncKind { DownloadAndReplace = 1, DownloadAndMerge = 2, Upload = 3 };

base::Dict stockEntry(const std::string &code) {
    return {{"StockName", ""}, {"MarketCode", code}};
}

bool isWebAddress(const std::string &address) {
    std::string lower = base::str::lower(address);
    return lower.starts_with("http://") || lower.starts_with("https://");
}

} // namespace

void DataBase::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == SyncType) {
        procSyncMyStock(params);
        return;
    }
    if (reqType != RealInformationType)
        return;
    RealNews &news = *m_NetDataCenter->IO_RealNewsJP;
    if (!news.hasNewData)
        return;
    if (news.isShowingPopover)
        processRsp(std::string(BreakNewsViewControllerNotify), reqType, params);
    else
        DataManager::sharedDataManager().ShowBreakingNews("实时解盘", "", news.content);
    news.hasNewData = false;
}

// ---------------------------------------------------------------------------------------------
// Upgrade notice

void DataBase::AlertUpgrade(bool quiet) {
    double bundleVersion = base::str::toDouble(base::Bundle::main().info("CFBundleVersion").stringValue());
    const std::string &serverVersion = m_NetDataCenter->IO_IndexServerINF->newverno;
    if (base::str::toDouble(serverVersion) > bundleVersion)
        showAlert("系统提示", base::str::format("有最新版本%@,是否现在升级？", serverVersion), ConfirmTitle,
                  {"取 消"}, UpgradeAlertTag);
    else if (!quiet)
        showAlert("系统提示", "没有发现新的版本，软件不需要升级。", ConfirmTitle, {}, 0);
}

void DataBase::alertView(ui::Alert &alert, int buttonIndex) {
    if (alert.buttonTitle(buttonIndex) != ConfirmTitle)
        return;
    if (alert.tag == UpgradeAlertTag) {
        // Only a web address is handed to the system.
        const std::string &address = m_NetDataCenter->IO_IndexServerINF->downloadaddrs;
        if (isWebAddress(address))
            ui::Application::shared().openUrl(address);
    } else if (alert.tag == AccountErrorAlertTag) {
        base::NotificationCenter::shared().post(AppNotify, nullptr,
                                                {{"MSG_ID", "Stock_MSG"}, {"Data", "MainLogin"}});
    }
}

// ---------------------------------------------------------------------------------------------
// Watch-list sync

// The default group as the user has it: the bundle default while the user has no file of their
// own, nothing when their file is damaged.
std::optional<base::Array> DataBase::readMyStockList() const {
    DataManager &manager = DataManager::sharedDataManager();
    std::string path = manager.dataFilePath(std::string(MyStockFile) + ".plist");
    if (base::FileManager::exists(path)) {
        std::optional<base::Value> stocks = base::PropertyList::read(path);
        if (!stocks || !stocks->array())
            return std::nullopt;
    }
    return manager.GetCurrentMyStockArrayByModelName(MyStockFile);
}

void DataBase::syncMyStock(int type) {
    if (m_isDownloadMyStock || !isHQConnected())
        return;
    NetDataCenter &center = *m_NetDataCenter;
    if (type == DownloadAndReplace || type == DownloadAndMerge) {
        m_myStockDownloadArray.clear();
        m_isDownloadMyStock = true;
        center.RequestUpDownMyStocksByUserName(self<DataBase>(), center.IO_L2UserName, center.IO_L2Password,
                                               true, m_myStockDownloadArray, type);
    } else if (type == Upload) {
        std::optional<base::Array> stocks = readMyStockList();
        if (!stocks) {
            Util::ShowInfoBox(DataManager::DamagedGroupText, SyncTitle);
            return;
        }
        base::Array codes;
        for (const base::Value &stock : *stocks)
            if (std::string code = stock["MarketCode"].stringValue(); !code.empty())
                codes.add(code);
        m_isDownloadMyStock = true;
        center.RequestUpDownMyStocksByUserName(self<DataBase>(), center.IO_L2UserName, center.IO_L2Password,
                                               false, codes, Upload);
    }
}

void DataBase::procSyncMyStock(const base::Ref<ReqParams> &reqParams) {
    m_isDownloadMyStock = false;
    // Only an explicit 0 is success; a reply without a result is an unknown error.
    base::Value result = reqParams ? reqParams->get("resultFlag") : base::Value();
    if (!result.isNumber() || result.intValue() != 0) {
        int64_t code = result.isNumber() ? result.intValue() : -1;
        Util::ShowInfoBox(code == 2 ? "密码错误" : code == 1 ? "不存在该用户" : "未知错误", SyncTitle);
        return;
    }
    int tag = int(reqParams->get("tag").intValue());
    if (tag == Upload) {
        Util::ShowInfoBox("自选股已成功上传到服务器", SyncTitle);
        return;
    }
    if ((tag != DownloadAndReplace && tag != DownloadAndMerge) || !writeDownloadedStocks(tag))
        return;
    Util::ShowInfoBox(tag == DownloadAndReplace ? "自选股下载成功" : "自选股同步成功", SyncTitle);
    base::NotificationCenter::shared().post(
        DataManager::MyStockSwitchCenter, self(),
        {{"MSG_ID", "AddedNewStock"},
         {"Data", base::Dict{{"ModelName", "我的自选"}, {"ModelFileName", MyStockFile}}}});
}

// Writes the downloaded codes into the default group; false when nothing was written (a damaged
// file is kept, a failed write is reported by the keeper of the files).
bool DataBase::writeDownloadedStocks(int tag) {
    base::Array stocks;
    if (tag == DownloadAndMerge) {
        std::optional<base::Array> current = readMyStockList();
        if (!current) {
            Util::ShowInfoBox(DataManager::DamagedGroupText, SyncTitle);
            return false;
        }
        stocks = current->copy();
    }
    for (const base::Value &downloaded : m_myStockDownloadArray) {
        std::string code = downloaded.stringValue();
        bool present = std::any_of(stocks.begin(), stocks.end(), [&](const base::Value &stock) {
            return stock["MarketCode"].stringValue() == code;
        });
        if (tag == DownloadAndReplace || !present)
            stocks.add(stockEntry(code));
    }
    return DataManager::sharedDataManager().SaveMyStockArray(stocks, MyStockFile);
}
