#pragma once

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/DPIndexItem.h"
#include "DataBase/NetData/IndexServerINF.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "DataBase/NetData/RealNews.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Object.h"
#include "base/Timer.h"
#include "base/Value.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The rows of a quote list, shared between the list's owner and the replies that fill it.
using StockQuoteList = RecordList<StockQuoteInf>;

class IndexGXPack;
class IndexNetData;
class KLinePack;
class MinLinePack;
class MLineNetData;
class RequestPosItem;
class StockAlarmInfo;
class StockPoolInf;
class WTTrader;

// What the message layer needs of the connection coordinator that owns it.
class NetDataCenterDelegate {
public:
    virtual ~NetDataCenterDelegate() = default;
    // Takes a framed request into the send queue.
    virtual base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) {
        (void)record;
        return base::notImplemented;
    }
    // Whether the link to a quote server stands; taken as NO when not implemented.
    virtual base::Opt<bool> isHQConnected() { return base::notImplemented; }
    // Shows the user a passing tip.
    virtual base::Opt<void> ShowTipBox(const std::string &text) {
        (void)text;
        return base::notImplemented;
    }
};

// The quote message layer: one request builder (Request…) and one reply parser (Parse…) per message
// type, the frame header and sequence ids they share, and the state the replies leave behind.
// Builders frame their body and hand a request record to the delegate; parsers get exactly one reply
// frame (header included: bodies are read from offset 7) and never read outside it.
//
// The sections below follow the message families; each family has its own source file.
class NetDataCenter : public base::Object, public DataPoolDelegate {
public:
    // ---------------------------------------------------------------------------------------------
    // Core (NetDataCenter.cpp)

    // A new layer with its members, its device id and its 30 s refresh timer on the current run loop.
    static base::Ref<NetDataCenter> create();
    NetDataCenter();
    ~NetDataCenter() override;

    // The coordinator; not retained.
    base::Weak<NetDataCenterDelegate> theDelegate;

    // Shorter than the 7-byte header, or a body length of 0.
    static bool IsEmptyPack(ByteView frame);
    // 1 to 249 in turn, skipping 125; message 1000 gets 0 (sent as 123) and restarts the count.
    uint8_t getNewSeqID(int type);
    // The last id given out.
    uint8_t m_seqID() const { return m_seqID_; }
    // Append header and body, taking the next sequence id; the tag is not used. A body longer than
    // the header can describe is refused: false, nothing appended and no id taken.
    bool MakeNTDataPage(base::Data &buf, int type, ByteView body, int tag = 0);
    // The same with the attribute that accepts a compressed reply (4 for code tables, else 2).
    bool MakeCompressNTDataPage(base::Data &buf, int type, ByteView body, int tag = 0);
    // Hands a framed request to the delegate.
    void CreateDirc(base::Data data, const QuoteRequester &delegate, int reqType,
                    base::Ref<ReqParams> reqParams = nullptr);

    // The connection was lost: no login, no session, no rights, and the layer's own chart requests
    // idle so that a reconnect asks again. Name and password stay.
    void OnDisConnect();
    // Every 30 s: the heartbeat while a quote server is connected.
    void OnRefreshTimer();
    // Replies to this layer's own requests: the newest day candle of the Shanghai index dates the
    // quotes.
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void ClearLevel2Account();
    // Called when a login finishes; nothing to do.
    void TestRequest() {}

    // Stock-detail request numbers still wanted; replies of withdrawn numbers are dropped.
    void addStockDetailReqNo(int32_t reqNo);
    void removeStockDetailReqNo(int32_t reqNo);
    bool isValidStockDetailReqNo(int32_t reqNo) const;

    base::Ref<IndexServerINF> IO_IndexServerINF = base::make<IndexServerINF>();
    // The layer's own intraday requests (market lists) and the one index-series store; both use
    // this layer. Made by create().
    base::Ref<MLineNetData> IO_MLib;
    base::Ref<IndexNetData> IO_IndexLib;
    // The market entries (dictionaries "name", "title", "crc", "Lib") in market-id order; the
    // coordinator creates them.
    base::Array IO_MktStockCodeLib;
    std::vector<base::Ref<DPIndexItem>> IO_MarketIndex;
    base::Ref<RealNews> IO_RealNewsJP = base::make<RealNews>();
    int32_t IO_StockDetailReqNo = 1;
    // yyyymmdd
    int32_t IO_ServerDate = 0;
    int32_t IO_QuotesDate = 0;
    int32_t IO_RecommUserStatu = 0;
    std::string IO_L2UserName;
    std::string IO_L2Password;
    bool IO_L2LoginSuccess = false;
    // The product class tree: dictionaries "MENU_NAME", "MENU_ID", "HasSubMenu" and either
    // "SUB_MENU_ARRAY" or "CLASS_ID".
    const base::Array &IO_ProdClassList() const { return m_prodClassList; }
    // The account's services, one dictionary "PowerName", "ValidDate", "IsValid" per rights bit.
    const base::Array &IO_AccountPowerArray() const { return m_accountPowerArray; }
    // Sent with the navigation request: "219" and this installation's id.
    const std::string &deviceID() const { return m_deviceID; }

    // ---------------------------------------------------------------------------------------------
    // Navigation, login and account (NetDataCenterStartup.cpp)

    // 1000 to a navigation server; always sequence id 123.
    void RequestServerAddress(const QuoteRequester &requester);
    void ParseServerAddress(ByteView frame);
    // 2936: forgets the current session and login first.
    void RequestUserInf(const QuoteRequester &requester, const std::string &username,
                        const std::string &password);
    void ParseUserInf(ByteView frame);
    // 2925, only while a session exists; no reply comes.
    void RequestHeartBeat();
    // 2907 pushed by the server: the account is used elsewhere or blocked. Answers the text to show.
    std::string ParseAccountError(ByteView frame);
    void RequestRecommUser(const QuoteRequester &requester, const std::string &user,
                           const std::string &phone);
    void ParseRecommUser(ByteView frame);
    bool isValidPower(int index) const;
    bool hasLevel2Power(const std::string &code) const {
        (void)code;
        return true;
    }

    // 2963 server date into IO_ServerDate.
    void RequestServerTime(const QuoteRequester &requester);
    void ParseServerTime(ByteView frame);

    // 2937 product class tree into IO_ProdClassList.
    void RequestMerchandiseMenu(const QuoteRequester &requester);
    void ParseProdClass(ByteView frame);

    // ---------------------------------------------------------------------------------------------
    // Market code tables and stock search (NetDataCenterCodes.cpp)

    // Announced sizes of a code table above this are a protocol error.
    static constexpr uint32_t MaxCodeTableBytes = 16u << 20;

    // 2956 for every market entry, with the checksum of its stored table.
    void RequestMarketStockList(const QuoteRequester &requester);
    void ParseMarketStockList(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // The entry's table as "code/<title>.dat" in the documents directory.
    static bool saveCodeList(const base::Dict &entry);
    // The checksum of the stored table; false when there is no file or it is empty.
    static bool readCodeList(const std::string &title, uint32_t &pcrc);
    // Loads "crc" and "Lib" of the entry from its file; false when the file holds nothing.
    static bool readCodeList(base::Dict entry);
    // The security `step` places away from `code` in its market's table, clamped to the ends.
    std::optional<std::string> getNextCode(const std::string &code, int step) const;
    // Drops items from the front so that `curCount` more still fit under `maxNum`.
    template <class T> static void removeOverItem(std::vector<T> &array, int64_t curCount, int64_t maxNum) {
        int64_t over = int64_t(array.size()) + curCount - maxNum;
        if (over > 0)
            array.erase(array.begin(), array.begin() + std::min<int64_t>(over, int64_t(array.size())));
    }
    // 2943 and 2968: server-side search by key.
    void RequestSearchStocks(const QuoteRequester &requester, const std::string &searchKey,
                             const base::Ref<StockQuoteList> &rspArray);
    void RequestSearchStocksWithPrice(const QuoteRequester &requester, const std::string &searchKey,
                                      const base::Ref<StockQuoteList> &rspArray);
    void ParseSearchStocks(ByteView frame, const base::Ref<ReqParams> &reqParams);
    void ParseSearchStocksWithPrice(ByteView frame, const base::Ref<ReqParams> &reqParams);

    // ---------------------------------------------------------------------------------------------
    // Market lists, market index and breaking news (NetDataCenterLists.cpp)

    // Breaking-news ids above this are refused: the store keeps one entry per id.
    static constexpr int32_t MaxRealNewsId = 100000;

    // 2955 by class: rows startid … startid + count − 1 of list `rid`. Fill type 1 first pads the
    // row array so that every row of the page has its place.
    void RequestStockListCom(const QuoteRequester &requester, int rid, int llag, int oid, int ostatu,
                             int startid, int count, const base::Ref<StockQuoteList> &rspArray, int tag,
                             int fillType, int totalCount);
    // 2955 for explicit full codes; nothing for an empty code list.
    void RequestPauseList(const QuoteRequester &requester, int llag, const std::vector<std::string> &arr,
                          const base::Ref<StockQuoteList> &rspArray, int tag);
    // Rows to pad before asking for a page; -1 when every row is held.
    static int getQuotesNeedFillCount(int startid, int count, const StockQuoteList &rspArray, int fillType,
                                      int totalCount);
    void ParseStockListCom(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2207 into IO_MarketIndex.
    void RequestMarketIndex(const QuoteRequester &requester);
    void ParseMarketIndex(ByteView frame);
    // 2600: id 0 for the newest breaking news, a positive id for an older one.
    void RequestRealInformation(const QuoteRequester &requester, int reqid);
    void ParseRealInformation(ByteView frame, const base::Ref<ReqParams> &reqParams);

private:
    // Frames the body and hands the request over; a body too long for the header sends nothing.
    void sendRequest(int type, const base::Data &body, const QuoteRequester &requester,
                     base::Ref<ReqParams> params = nullptr, bool compressed = false);
    bool frame(base::Data &buf, int type, uint16_t attribute, ByteView body);
    void showTip(const std::string &text);
    void rebuildAccountPowers(const std::vector<uint32_t> &dateWords);
    bool ParseProdSubClass(ByteView frame, uint32_t &pos, int count, base::Array &parentArray,
                           int &ptotalCount, int depth);
    void readQuoteRow(ByteView frame, uint32_t &pos, int classID, int flags, StockQuoteInf &row) const;
    void resetRealNews();

    uint8_t m_seqID_ = 1;
    std::string m_deviceID;
    base::Ref<base::Timer> m_refreshTimer;
    // Refresh ticks until the next clean-up of stale chart caches: half an hour of 30 s ticks.
    static constexpr int CleanTicks = 60;
    int m_cleanCountDown = CleanTicks;
    std::vector<int32_t> m_validStockDetailReqNos;
    int64_t m_sessionID = 0;
    int64_t m_rightsMask = 0;
    base::Array m_prodClassList;
    base::Array m_accountPowerArray;

public:
    // ---------------------------------------------------------------------------------------------
    // Per-security detail: 2939, 2940, 2206, 2310, 2915 (NetDataCenterDetail.cpp)

    // The code as body; "stockDetailReqNo", "code" and, when given, "rspInfo", the record the reply
    // fills.
    void RequestByStkCode(const QuoteRequester &requester, int reqType, const std::string &code,
                          int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo);
    void RequestStkBaseInfo(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                            const base::Ref<StockBasicInf> &rspInfo);
    void RequestDynamicInfo(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                            const base::Ref<StockBasicInf> &rspInfo);
    void RequestRiseFallCount(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                              const base::Ref<StockBasicInf> &rspInfo);
    void RequestFundBaseInfo(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                             const base::Ref<StockBasicInf> &rspInfo);
    void RequestLevel2BuySellPan(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                                 const base::Ref<StockBasicInf> &rspInfo);
    void RequestStockFinancialData(const QuoteRequester &requester, const std::string &code, int32_t reqNo,
                                   const base::Ref<StockBasicInf> &rspInfo);
    // Fills the request's "rspInfo" by type; nothing without one.
    static void ParseStockDetailInfo(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams);
    // An empty reply resets the fields the parser fills.
    static void ParseStkBaseInfo(ByteView frame, StockBasicInf &basicInf);
    // Order book levels 1 to 10: the ask half of the pairs farthest level first, then the bid half.
    static void ParseDynamicInfo(ByteView frame, StockBasicInf &basicInf);
    static void ParseRiseFallCount(ByteView frame, StockBasicInf &basicInf);
    static void ParseFundBaseInfo(ByteView frame, StockBasicInf &basicInf);
    // Order book levels 6 to 10: up to five ask pairs farthest first, then up to five bid pairs.
    static void ParseLevel2BuySellPan(ByteView frame, StockBasicInf &basicInf);

    // ---------------------------------------------------------------------------------------------
    // Series of one security (NetDataCenterSeries.cpp)

    // What a pack's reply list holds: records, or SeriesNumber values.
    using PackList = std::vector<base::Ref<base::Object>>;

    // One request of a pack-driven series; nothing for a missing or busy pack, or for ex-rights
    // already known. Marks the pack busy.
    void RequestArrayData(const QuoteRequester &requester, int reqType, const base::Ref<RequestPosItem> &pack,
                          const base::Ref<StockBasicInf> &rspInfo = nullptr);
    void RequestStkStrikeDetail(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestDealDetail(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestStockDDDetailV2(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack,
                                const base::Ref<StockBasicInf> &rspInfo);
    void RequestStockDDDetail(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack,
                              const base::Ref<StockBasicInf> &rspInfo);
    void RequestIndexDDDetailV2(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestIndexDDDetail(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestStockExright(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestIndexRiseFallLine(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    // The reply of a pack-driven series: marks the pack idle, fills it and moves its position.
    void ParseRspArray(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams);
    // Ticks; without isReqAllData the list keeps the newest 100.
    static void ParseStkStrikeDetail(ByteView frame, PackList &rspArray, int32_t &newPos, bool isReqAllData,
                                     ReqParams *reqParams);
    static void ParseDealDetail(ByteView frame, PackList &rspArray, int32_t &newPos, bool isReqAllData,
                                ReqParams *reqParams);
    // Big orders of a stock, newest first, with the day's ratios into the record.
    static void ParseStockDDDetailV2(ByteView frame, PackList &rspArray, int32_t &newPos,
                                     StockBasicInf &basicInf);
    static void ParseStockDDDetail(ByteView frame, PackList &rspArray, int32_t &newPos,
                                   StockBasicInf &basicInf);
    // Big orders in a market; the list keeps the newest 100.
    static void ParseIndexDDDetailV2(ByteView frame, PackList &rspArray, int32_t &newPos);
    static void ParseIndexDDDetail(ByteView frame, PackList &rspArray, int32_t &newPos);
    // The last point held is sent again and replaced.
    static void ParseIndexRiseFallLine(ByteView frame, PackList &rspArray, int32_t &newPos);
    static void ParseStockExright(ByteView frame, PackList &rspArray);
    // 2929: the market prefix of the pack's code, the order type and the count.
    void RequestIndexGX(const QuoteRequester &requester, const base::Ref<IndexGXPack> &pack, int orderType,
                        int reqCount);
    static void ParseIndexGX(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2958, a test whose reply nobody reads.
    void TestRequest2958(const QuoteRequester &requester, const std::string &code, int exrightMode);

    // ---------------------------------------------------------------------------------------------
    // Product and fund lists (NetDataCenterFunds.cpp)

    // A list of records of more than one class (fund rows, plain texts stay in base::Array).
    using ObjectList = RecordList<base::Object>;

    // 2938: one page of product rows (StockBasicInf) of class `rid`.
    void RequestMerchandiseList(const QuoteRequester &requester, int rid, int oid, int ostatu, int startid,
                                int count, const base::Ref<StockQuoteList> &rspArray, int tag);
    static void ParseMerchandiseList(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2331: fund rows, CurrencyFundQuoteInf for fund type 5, else OpenFundQuoteInf. Fill type 1 first
    // pads the list so that every row of the page has its place.
    void RequestOpenFundList(const QuoteRequester &requester, int fundType, int companyid, int startid,
                             int count, int sortID, int sortType, const base::Ref<ObjectList> &rspArray,
                             int tag, int fillType, int totalCount);
    static void ParseOpenFundList(ByteView frame, const base::Ref<ReqParams> &reqParams);
    void RequestFundKLine(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestFundStocks(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestFundShares(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestFundStruct(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    // The fund's value curve as flat candles.
    static void ParseFundKLine(ByteView frame, PackList &rspArray);
    static void ParseFundStocks(ByteView frame, PackList &rspArray);
    static void ParseFundShares(ByteView frame, PackList &rspArray);
    static void ParseFundStruct(ByteView frame, PackList &rspArray);
    // 2300 or 2301 (`ftype`): the older fund list.
    void RequestFundList(const QuoteRequester &requester, int ftype, int oid, int ostatu, int startid,
                         int count, const base::Ref<StockQuoteList> &rspArray, int tag);
    static void ParseFundList(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2330: the fund company names as texts into `rspArray`.
    void RequestFundCompany(const QuoteRequester &requester, const base::Array &rspArray);
    static void ParseFundCompany(ByteView frame, const base::Ref<ReqParams> &reqParams);

    // ---------------------------------------------------------------------------------------------
    // Level-2 series (NetDataCenterLevel2.cpp)

    void RequestLevel2EntrustQueue(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestLevel2MinDDX(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestLevel2MinDiffer(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    void RequestLevel2MinBSVol(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    // The order queue at the best ask ("sell…") and bid ("buy…"), volumes in lots of 100.
    static void ParseLevel2EntrustQueue(ByteView frame, base::Dict &rspDict);
    // Minute series: the last minute held is sent again and replaced.
    static void ParseLevel2MinDDX(ByteView frame, PackList &rspArray, int32_t &newPos);
    static void ParseLevel2MinDiffer(ByteView frame, PackList &rspArray, int32_t &newPos);
    static void ParseLevel2MinBSVol(ByteView frame, PackList &rspArray, int32_t &newPos);
    // 2918, 2919, 2920, 2928 and 2933: days before the pack's `pos` (isForwardReq) or the newest.
    void RequestLevel2DD_(const QuoteRequester &requester, int reqType,
                          const base::Ref<RequestPosItem> &pack);
    static void ParseLevel2DD_(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams);
    // Buy/sell statistics onto the candles of the pack's `obj`, the candle pack whose list they attach to.
    static void ParseLevel2BS(ByteView frame, const base::Ref<ReqParams> &reqParams);

    // ---------------------------------------------------------------------------------------------
    // Stock pools, boards and web rights (NetDataCenterPools.cpp)

    using StockPoolList = RecordList<StockPoolInf>;

    void RequestStockPoolStockList(const QuoteRequester &requester, int poolID, int start, int count,
                                   const base::Ref<StockPoolList> &rspArray);
    static void ParseStockPoolStockList(ByteView frame, const base::Ref<ReqParams> &reqParams);
    void RequestStockPoolStockList2(const QuoteRequester &requester, int poolID, int start, int count,
                                    const base::Ref<StockPoolList> &rspArray);
    // 2949: one dictionary per pool into `rspArray`.
    void RequestStockPoolConfigInfo(const QuoteRequester &requester, const base::Array &rspArray);
    static void ParseStockPoolConfigInfo(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2952, whose reply nobody reads.
    void RequestStockPoolEnterStock(const QuoteRequester &requester);
    void RequestStockBoards(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack);
    static void ParseStockBoards(ByteView frame, PackList &rspArray);
    // 2972 with the market account; the reply's "subType" and "userKey" go into "rspDict".
    void RequestWebPower(const QuoteRequester &requester);
    static void ParseWebPower(ByteView frame, const base::Ref<ReqParams> &reqParams);

    // ---------------------------------------------------------------------------------------------
    // Watch-list upload and download, message 2912 (NetDataCenterSync.cpp)

    // Uploads the codes of `stockArray` (texts) or downloads into it. "isDownload", "tag" and
    // "stockArray" travel with the request; the reply adds "resultFlag" (0: success).
    void RequestUpDownMyStocksByUserName(const QuoteRequester &requester, const std::string &username,
                                         const std::string &password, bool isDownload,
                                         const base::Array &stockArray, int tag);
    // A successful download replaces the list's contents with the codes received.
    static void ParseUpDownMyStocksByUserName(ByteView frame, const base::Ref<ReqParams> &reqParams);

    // ---------------------------------------------------------------------------------------------
    // Broker table (NetDataCenterBrokers.cpp)

    // Loads the stored table, then asks with its checksum so that an unchanged table is not sent.
    void RequestSecuritiesAddressInfo(const QuoteRequester &requester);
    // A non-empty reply replaces the table and the stored copy.
    void ParseSecuritiesAddressInfo(ByteView frame);
    // Decodes a table from `pos` and rebuilds the sections.
    void ReadTradeAddressInfo(ByteView bytes, uint32_t pos);
    // The first broker of that name.
    base::Ref<WTTrader> getSecuritiesAddressInfo(const std::string &name) const;
    // Sections by index letter ("Title", "SubArray"), sorted by title.
    void MakeSecuritiesTableArray();
    // YES once any broker-table reply has arrived.
    bool IO_GetSecuritiesAddressRsp = false;
    const std::vector<base::Ref<WTTrader>> &IO_SecuritiesAddressArray() const {
        return m_securitiesAddressArray;
    }
    const base::Array &IO_SecuritiesTableArray() const { return m_securitiesTableArray; }

    // ---------------------------------------------------------------------------------------------
    // Price alarms, message 3001 (NetDataCenterAlarms.cpp). The requests carry the account password:
    // never log them.

    static void WriteAlarmSubHead(base::Data &buf);
    void WriteAlarmPreData(base::Data &buf) const;
    // Fills in the sub-header once the body is complete.
    void ResetAlarmSubHead(base::Data &buf, int subType) const;
    void RequestEditAlarm(const QuoteRequester &requester, bool isAddAlarm, int32_t alarmID,
                          const StockAlarmInfo &alarmInfo);
    void RequestAddAlarm(const QuoteRequester &requester, const StockAlarmInfo &alarmInfo);
    void RequestModifyAlarm(const QuoteRequester &requester, int32_t alarmID,
                            const StockAlarmInfo &alarmInfo);
    void RequestDeleteAlarm(const QuoteRequester &requester, const std::vector<int32_t> &alarmIDArray);
    void RequestHistoryAlarmArray(const QuoteRequester &requester);
    void RequestCurrentAlarmArray(const QuoteRequester &requester);
    void RequestUploadToken(const QuoteRequester &requester, const std::string &pushToken);
    // A reply to a request: results into "rspDict", the server value kept for the next request.
    void ParseAlarmData(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // A 3001 frame that answers no request.
    void ParseAlarmPushData(ByteView frame);
    bool isUploadTokenSuccess() const { return m_tokenUploaded; }

private:
    void sendAlarm(const QuoteRequester &requester, base::Data &body, int subType);

    int16_t m_securitiesTableCRC = 0;
    std::vector<base::Ref<WTTrader>> m_securitiesAddressArray;
    base::Array m_securitiesTableArray;
    uint32_t m_alarmSubExtension = 0;
    bool m_tokenUploaded = false;

public:
    // ---------------------------------------------------------------------------------------------
    // Chart messages: intraday minutes 2942 and candles 2944 (NetDataCenterChart.cpp)

    // What the manager of a candle pack implements to continue batched requests after a reply.
    class KLineManager {
    public:
        virtual ~KLineManager() = default;
        virtual base::Opt<void> OnRspKLine(const base::Ref<ReqParams> &reqParams) {
            (void)reqParams;
            return base::notImplemented;
        }
    };

    // 2942 for an idle pack, asking from its position, with the pack's delegate as the requester;
    // always accepts a bit-coded reply. "pack", "code" and "tag" travel with the request.
    void RequestMinLine(const base::Ref<MinLinePack> &pack);
    // Joins the reply's minutes onto the pack's, or empties them for an empty reply or one whose
    // position falls behind what is held; saves the day's minutes to the intraday cache as they
    // grow. A bit-coded reply that cannot be expanded in full changes nothing but the pack's busy
    // flag; the trading sessions it carries still update the session table.
    void ParseMinLine(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // 2944 for an idle pack (accepting a bit-coded reply above 10 candles); NO, sending nothing,
    // when the pack is busy or asks for older candles and already holds the oldest. "pack",
    // "manager" (when set) and "isForwardReq" travel with the request.
    bool RequestKLine(const QuoteRequester &requester, const base::Ref<KLinePack> &pack);
    // Puts older candles in front, or refreshes the newest; sets the pack's reply fields and tells
    // its manager. A bit-coded reply that cannot be expanded changes no candle and tells nobody.
    void ParseKLine(ByteView frame, const base::Ref<ReqParams> &reqParams);
    // Asks for the newest day candle of "SH000001", which dates the quotes (IO_QuotesDate).
    void reqQuotesDate();
};
