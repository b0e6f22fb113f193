#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"

base::Dict QVNNewsDataInterface::MakeRequestNewsTopLineArray() {
    return base::Dict{{ReqType, int(NewsTopLineArrayType)}};
}

base::Dict QVNNewsDataInterface::MakeRequestNewsColumnArray() {
    return base::Dict{{ReqType, int(NewsColumnArrayType)}};
}

base::Dict QVNNewsDataInterface::MakeRequestNewsList(const std::string &listUrl) {
    return base::Dict{{ReqType, int(NewsListType)}, {NewsListUrl, listUrl}};
}

base::Dict QVNNewsDataInterface::MakeRequestNewsContent(const std::string &contentUrl) {
    return base::Dict{{ReqType, int(NewsContentType)}, {NewsContentUrl, contentUrl}};
}

base::Dict QVNNewsDataInterface::MakeRequestTodayInfoBomb(const std::string &stockCode, int todayNumDate) {
    return base::Dict{
        {ReqType, int(TodayInfoBombType)}, {StockCode, stockCode}, {TodayNumDate, todayNumDate}};
}

base::Dict QVNNewsDataInterface::MakeRequestStockNewsList(const std::string &stockCode) {
    return base::Dict{{ReqType, int(StockNewsListType)}, {StockCode, stockCode}};
}

base::Dict QVNNewsDataInterface::MakeRequestMarketBoard() {
    return base::Dict{{ReqType, int(MarketBoardType)}};
}
