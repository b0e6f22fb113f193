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

    // The connection was lost: no login, no session, no rights. Name and password stay.
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
    std::vector<int32_t> m_validStockDetailReqNos;
    int64_t m_sessionID = 0;
    int64_t m_rightsMask = 0;
    base::Array m_prodClassList;
    base::Array m_accountPowerArray;
};
