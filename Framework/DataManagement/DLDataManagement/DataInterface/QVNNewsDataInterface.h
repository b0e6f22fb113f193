#pragma once

#include "base/Value.h"

#include <string>

// The request dictionaries of the news road ("ReqData" of a bus envelope): each holds "reqType"
// and that type's parameters. The news facade (NewsData) builds its requests here and the news
// fetcher reads them. Class operations only.
class QVNNewsDataInterface {
public:
    QVNNewsDataInterface() = delete;

    static constexpr const char *ReqType = "reqType";
    static constexpr const char *NewsListUrl = "newsListUrl";
    static constexpr const char *NewsContentUrl = "newsContentUrl";
    static constexpr const char *StockCode = "stockCode";
    static constexpr const char *TodayNumDate = "todayNumDate";

    enum RequestType {
        NewsColumnArrayType = 1000,
        NewsTopLineArrayType = 1100,
        NewsListType = 1300,
        NewsContentType = 1400,
        TodayInfoBombType = 1600,
        StockNewsListType = 1700,
        MarketBoardType = 3000,
    };

    static base::Dict MakeRequestNewsTopLineArray();
    static base::Dict MakeRequestNewsColumnArray();
    static base::Dict MakeRequestNewsList(const std::string &listUrl);
    static base::Dict MakeRequestNewsContent(const std::string &contentUrl);
    // The information mines of the security ("SH600000") published on the date (yyyymmdd).
    static base::Dict MakeRequestTodayInfoBomb(const std::string &stockCode, int todayNumDate);
    static base::Dict MakeRequestStockNewsList(const std::string &stockCode);
    static base::Dict MakeRequestMarketBoard();
};
