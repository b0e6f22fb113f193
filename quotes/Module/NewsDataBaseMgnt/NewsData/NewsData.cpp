#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include "base/Str.h"

#include <atomic>

base::Ref<NewsData> NewsData::create() {
    static std::atomic<int> lastID{0};
    auto news = base::make<NewsData>();
    news->vcTag_ = base::str::format("NewsDataNotify%d", ++lastID);
    // The board-list request is the only one so far, and its reply is for nobody.
    base::NotificationCenter::shared().addObserver(news, news->vcTag_, [](const base::Notification &) {});
    return news;
}

NewsData::~NewsData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void NewsData::reqMarketBoard() {
    postNotify(MarketBoardFuncID, {{"reqType", MarketBoardFuncID}});
}

void NewsData::reqTodayInfoBomb(const std::string &code, int todayNumDate) {
    postNotify(TodayInfoBombFuncID,
               {{"reqType", TodayInfoBombFuncID}, {"stockCode", code}, {"todayNumDate", todayNumDate}});
}

void NewsData::postNotify(int funcID, base::Dict reqData) {
    base::NotificationCenter::shared().post(MsgCenterNotify, nullptr,
                                            {{"ComponentID", ""},
                                             {"ControllerID", vcTag_},
                                             {"FuncID", std::to_string(funcID)},
                                             {"DataSource", "NEWS"},
                                             {"ReqData", std::move(reqData)},
                                             {"RspData", base::Dict()}});
}
