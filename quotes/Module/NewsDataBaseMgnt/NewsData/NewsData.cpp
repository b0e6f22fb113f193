#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"
#include "DataManagement/DLMsgCenter/DLMsgData.h"

namespace {

using Fetcher = QVNNewsDataManagement;

template <class T> std::vector<base::Ref<T>> objects(const base::Value &array) {
    std::vector<base::Ref<T>> out;
    if (const base::Array *items = array.array())
        for (const base::Value &item : *items)
            if (base::Ref<T> record = item.objectAs<T>())
                out.push_back(std::move(record));
    return out;
}

} // namespace

void NewsData::setUp() {
    vcTag_ = DLDataManagement::sharedDLDataManagement()->getNewNotifyID();
    base::Weak<NewsData> weak = weakSelf<NewsData>();
    base::NotificationCenter::shared().addObserver(weak, vcTag_, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->vcMsgCenterProcess(n);
    });
}

NewsData::~NewsData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void NewsData::reqNewsTopLineArray() {
    postNotify(NewsTopLineArrayFuncID, QVNNewsDataInterface::MakeRequestNewsTopLineArray());
}

void NewsData::reqNewsColumnArray() {
    postNotify(NewsColumnArrayFuncID, QVNNewsDataInterface::MakeRequestNewsColumnArray());
}

void NewsData::reqNewsList(const std::string &listUrl) {
    postNotify(NewsListFuncID, QVNNewsDataInterface::MakeRequestNewsList(listUrl));
}

void NewsData::reqNewsContent(const std::string &contentUrl) {
    postNotify(NewsContentFuncID, QVNNewsDataInterface::MakeRequestNewsContent(contentUrl));
}

void NewsData::reqTodayInfoBomb(const std::string &code, int todayNumDate) {
    postNotify(TodayInfoBombFuncID, QVNNewsDataInterface::MakeRequestTodayInfoBomb(code, todayNumDate));
}

void NewsData::reqStockNewsList(const std::string &code) {
    postNotify(StockNewsListFuncID, QVNNewsDataInterface::MakeRequestStockNewsList(code));
}

void NewsData::reqMarketBoard() {
    postNotify(MarketBoardFuncID, QVNNewsDataInterface::MakeRequestMarketBoard());
}

void NewsData::postNotify(int funcID, base::Dict reqData) {
    base::NotificationCenter::shared().post(MsgCenterNotify, nullptr,
                                            DLMsgData::encapMsg("", vcTag_, std::to_string(funcID),
                                                                DLMsgData::NewsDataSource, std::move(reqData),
                                                                base::Dict()));
}

void NewsData::vcMsgCenterProcess(const base::Notification &notification) {
    const base::Value rsp = notification.userInfo.get(DLMsgData::RspData);
    const bool success = rsp[Fetcher::SuccessRsp].boolValue();
    const std::string failMsg = rsp[Fetcher::FailMsg].stringValue();
    auto owner = delegate_.lock();
    if (!owner)
        return;
    switch (notification.userInfo.get(DLMsgData::FuncID).intValue()) {
    case NewsTopLineArrayFuncID:
        success ? owner->updateNewsTopLineArray(objects<NewsSummaryInfo>(rsp[Fetcher::RspArray]))
                : owner->updateNewsTopLineArrayError(failMsg);
        break;
    case NewsColumnArrayFuncID:
        success ? owner->updateNewsColumnArray(objects<NewsColumnItemInfo>(rsp[Fetcher::RspArray]))
                : owner->updateNewsColumnArrayError(failMsg);
        break;
    case NewsListFuncID:
        success ? owner->updateNewsList(rsp[Fetcher::RspNewsListInfo].objectAs<NewsListInfo>())
                : owner->updateNewsListError(failMsg);
        break;
    case NewsContentFuncID:
        success ? owner->updateNewsContent(rsp[Fetcher::RspNewsContentInfo].objectAs<NewsContentInfo>())
                : owner->updateNewsContentError(failMsg);
        break;
    case TodayInfoBombFuncID:
        success ? owner->updateTodayInfoBombArray(objects<NewsSummaryInfo>(rsp[Fetcher::RspArray]))
                : owner->updateTodayInfoBombArrayError(failMsg);
        break;
    case StockNewsListFuncID: {
        const base::Value categories = rsp[Fetcher::RspStockNewsListInfo];
        success ? owner->updateStockNewsList(categories.array() ? *categories.array() : base::Array())
                : owner->updateStockNewsListError(failMsg);
        break;
    }
    default:
        break;
    }
}
