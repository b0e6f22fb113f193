#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Object.h"

#include <cstdint>
#include <string>

// The request set of the security a detail screen shows: a request number per detail request, so
// that the message layer drops the queued requests and late replies of an earlier security, and
// one request-state item per data type. Owned by the stock detail data centre; every request names
// the centre's observer name as its requester. Nothing is sent without a message layer or for a
// busy item.
//
// Items made per kind of security (each with the code, the request number, pos −1, idle, empty):
//   open fund ("OF")    2311 net-value candles, 2312 holdings, 2313 shares, 2314 structure
//   board index ("BI")  11001 board members
//   any other           2970 ticks, 2971 deals, 2976 big orders, 2966 ex-rights events, 2969 boards,
//                       2917 level-2 queue, 2923/2922/2924 level-2 minute series, 2918/2919/2920/2928
//                       level-2 day series, 2933 level-2 buy/sell points
class StockDetailNetData : public base::Object {
public:
    static constexpr int32_t BoardStocksItem = 11001;
    static constexpr int BoardStocksCount = 25;
    static constexpr int32_t Level2BSPointsItem = 2933;
    static constexpr int32_t Level2DayCount = 200;

    // With the shared message layer of the process-wide coordinator.
    StockDetailNetData();
    explicit StockDetailNetData(base::Weak<NetDataCenter> netdatacenter);

    // A new detail request for the code: the earlier one is withdrawn, the base info cleared and the
    // items of the security's kind made afresh. Nothing without requester, code or message layer.
    void StartStockDetailRequest(const std::string &requester, const std::string &code);
    // Withdraws the request number: its queued requests and late replies are dropped.
    void StopStockDetailRequest();
    void reqBasicInf();
    // One data type (2206, 2915, 2940, 2311–2314, 2917, 2966, 2969, 2970, 2971, 2976); other ids
    // send nothing. Ex-rights events are read from today's cache when it has them.
    void reqStockData(int type);
    // The first 25 members of a board, by rise (field 1, order 0).
    void reqBoardStocks(int boardID);
    // 2924, 2923 or 2922: the level-2 minute series of that type.
    void reqMLineLevel2(int type);
    // Older days of a level-2 day series, unless it already covers the day candles shown (those of
    // `dayPack`, to which the buy/sell points attach).
    void reqKLineLevel2(int type, const base::Ref<RequestPosItem> &dayPack, int toDate);
    // The newest day of a level-2 day series.
    void reqKLineLevel2OnTimer(int type, const base::Ref<RequestPosItem> &dayPack);

    base::Ref<RequestPosItem> getRequestPosItem(int type) const { return m_requestPosDict->item(type); }
    // Null when the item is absent. Valid while the item lives (until the next start).
    std::vector<base::Ref<base::Object>> *getStockRspArray(int type) const;
    base::Dict *getStockRspDict(int type) const;
    // The rows of the board-member item.
    base::Ref<StockQuoteList> boardStocks() const;
    bool isGetExrightData() const;
    // Ticks and deals start over (after a lost connection).
    void clearCacheData();
    void setAllIdle() { m_requestPosDict->setAllIdle(); }

    const base::Ref<StockBasicInf> &IO_StockBasicInf() const { return m_stockBasicInf; }
    bool IO_isGetBasicInf() const { return m_isGetBasicInf; }
    void setIO_isGetBasicInf(bool value) { m_isGetBasicInf = value; }
    int32_t IO_ReqNo() const { return m_reqNo; }
    const std::string &code() const { return m_code; }
    base::Ref<NetDataCenter> netdatacenter() const { return m_netdatacenter.lock(); }

private:
    void makeItems();
    void reqExright(NetDataCenter &center);

    base::Weak<NetDataCenter> m_netdatacenter;
    base::Ref<RequestPosDict> m_requestPosDict = base::make<RequestPosDict>();
    int32_t m_reqNo = 0;
    std::string m_code;
    std::string m_delegate;
    base::Ref<StockBasicInf> m_stockBasicInf = base::make<StockBasicInf>();
    bool m_isGetBasicInf = false;
};
