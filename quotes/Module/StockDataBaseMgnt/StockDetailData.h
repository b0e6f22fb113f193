#pragma once

#include "Module/StockDataBaseMgnt/KLineNetData.h"
#include "Module/StockDataBaseMgnt/MLineNetData.h"
#include "Module/StockDataBaseMgnt/StockDetailNetData.h"
#include "base/Object.h"
#include "base/Value.h"

#include <map>
#include <string>
#include <vector>

// What the detail screen tells its data centre. Every operation may be left out; the centre then
// takes NO, NO, −1, NO, −1 and 0.
class StockDetailDataDelegate {
public:
    virtual ~StockDetailDataDelegate() = default;
    virtual base::Opt<bool> isTrendLineViewVisible() { return base::notImplemented; }
    virtual base::Opt<bool> isKLineViewVisible() { return base::notImplemented; }
    virtual base::Opt<int> getKType() { return base::notImplemented; }
    virtual base::Opt<bool> isKLineExrightMode() { return base::notImplemented; }
    virtual base::Opt<int> getCurMinLineLevel2TechType() { return base::notImplemented; }
    virtual base::Opt<int> getCurrentBoardID() { return base::notImplemented; }
};

// The data centre behind the single-security detail screen. It holds the security shown, decides
// on every refresh what to ask the quote server for, keeps up to three comparison securities in step
// with the chart, applies ex-rights adjustment to candles and serves the linked security of the
// pop-up window.
//
// The screen creates one, sets itself as delegate, observes `observerName()` (every reply arrives
// as a notification of that name), calls StartRequest for each security shown, reqData(YES) when it
// first shows it and reqData(NO) on each refresh tick, and reads the data back through the getters.
// Each centre takes a name of its own ("StockDetailCenter-%d" from a process-wide count), so two
// live centres never see each other's replies. Nothing is asked while the quote connection is
// down, and only the base info until the screen says it has arrived.
//
// Comparison securities are AddStockEntry dictionaries: "code", "basicInf" (a StockBasicInf),
// "colorID" (1 to 5) and the alignment cursors "CurStockCalcPos-%d" and "AddStockCalcPos-%d" per
// period: how many shown and comparison candles, counted from the newest, are aligned.
class StockDetailData : public base::Object {
public:
    using ObjectList = StockFunc::ObjectList;

    static constexpr size_t MaxAddStocks = 3;
    static constexpr int MaxColorID = 5;
    static constexpr int ReqCandleCount = 200;
    // Data older than this is asked for again.
    static constexpr double RefreshAge = 5.0;
    static constexpr int ComparisonMinuteTag = 2;
    static constexpr const char *BoardIndexFallback = "SH000001";

    StockDetailData();
    // A centre on the given message layer instead of the shared one.
    explicit StockDetailData(base::Weak<NetDataCenter> netdatacenter);
    // Saves the candles to the cache and withdraws the detail request.
    ~StockDetailData() override;

    void setDelegate(base::Weak<StockDetailDataDelegate> delegate) { m_delegate = std::move(delegate); }
    base::Ref<StockDetailDataDelegate> delegate() const { return m_delegate.lock(); }

    // Detail requests and refresh.
    void StartRequest(const std::string &code);
    void StopRequest() {}
    void reqData(bool isFirstReq);
    void reqExright() { m_stockDetailLib->reqStockData(2966); }
    bool reqCurKLine(bool isForwardReq, int reqCount);
    bool reqCurDayKLineBatch(int reqCount);
    // A refresh of the newest candles only when the shown ones are over 5 s old, else the first 200.
    bool reqKLineIfNoDataOrOverTime(int ktype);
    void reqMinLineIfNoDataOrOverTime();
    void reqCurMinLineRel();
    // Day candles for a week or month chart in ex-rights mode; `pgetLocalData` says the days held
    // are enough.
    bool checkOrReqCurDayKLine(int ktype, bool &pgetLocalData);
    void reqMLineLevel2TechIndex();
    void reqKLineLevel2TechIndex(int type, int displayFirstTime);
    void reqKLineLevel2TechIndexOnTimer(int type);
    void saveAndClearData();
    void setAllIdle();
    void clearCacheData();

    // Candles and ex-rights. Lists are null when absent and valid until the store forgets them.
    ObjectList *getDayKList() const;
    bool isGetFirstDayKLine() const;
    base::Ref<KLinePack> getCurKPack(int ktype) const;
    ObjectList *getCurKList(int ktype) const;
    ObjectList *getCalcMultiDayKList(int ktype) const;
    ObjectList *getExrightList() const;
    bool existExrightInfo() const;
    bool canReqKLineLevel2() const;
    // The user changed the adjustment: the list to show afterwards, or null.
    ObjectList *calcOnChangeExright(int exrightType, int exrightDate, int ktype);
    // On every candle reply while events are known.
    void calcExrightOnRspKLine(const base::Ref<KLinePack> &pack, int exrightType, int exrightDate);

    // Comparison securities.
    bool AddStocks_AddCode(const std::string &code);
    bool AddStocks_DelAll();
    base::Dict *AddStocks_GetDictByCode(const std::string &code);
    int AddStocks_GetNextColorID() const;
    void AddStocks_ReqOneCode(const std::string &code, const base::Ref<StockBasicInf> &basicInf);
    void AddStocks_ReqOnTimer();
    void AddStocks_ReqAllMinLine();
    void AddStocks_ReqAllMinLine_IfNoData();
    void AddStocks_ReqKLineForward(const std::string &code);
    void AddStocks_ReqAllKLineForwardToFirstTime(const ObjectList *shownList, int curStockKType);
    void AddStocks_CalcAllAddKLines(int ktype, bool isRecalc);
    void AddStocks_CalcAddKLine(const std::string &code, const ObjectList *addKList, int ktype,
                                bool isUpdateForward);
    void calcAddKLine(const std::string &code, const ObjectList *addKList, int ktype);
    void calcLastAddKLine(const std::string &code, const ObjectList *addKList, int ktype);

    // The linked security of the pop-up window.
    void reqPopStockDetailView(const std::string &code, bool isFirstReq);
    void reqPopStockKLine(const std::string &code);

    const std::string &code() const { return m_code; }
    const base::Ref<StockDetailNetData> &stockDetailLib() const { return m_stockDetailLib; }
    const base::Ref<KLineNetData> &klineLib() const { return m_klineLib; }
    const base::Ref<MLineNetData> &minlineLib() const { return m_minlineLib; }
    const std::string &observerName() const { return m_observerName; }
    const std::vector<base::Dict> &multiStockList() const { return m_multiStockList; }
    bool canShowLevel2() const { return m_canShowLevel2; }
    void setCanShowLevel2(bool value) { m_canShowLevel2 = value; }
    const base::Ref<StockBasicInf> &popStockBasicInf() const { return m_popStockBasicInf; }
    const base::Array &popStockRspArray() const { return m_popStockRspArray; }

private:
    bool trendVisible() const;
    bool klineVisible() const;
    int kType() const;
    bool exrightMode() const;
    int boardID() const;
    int digit() const;
    bool isConnected() const;
    void reqComparisonMinLine(const std::string &code, bool onTimer);
    // Walks shown and comparison candles back from the given indexes, pairing those of one time.
    void align(const std::string &code, const ObjectList &shown, const ObjectList &add, int ktype, int64_t &i,
               int64_t &j, int64_t *shownSteps, int64_t *addSteps, bool stopAtAligned);

    base::Weak<StockDetailDataDelegate> m_delegate;
    std::string m_code;
    base::Ref<StockDetailNetData> m_stockDetailLib;
    base::Ref<KLineNetData> m_klineLib;
    base::Ref<MLineNetData> m_minlineLib;
    std::string m_observerName;
    bool m_canShowLevel2 = false;
    std::vector<base::Dict> m_multiStockList;
    base::Ref<StockBasicInf> m_popStockBasicInf = base::make<StockBasicInf>();
    base::Array m_popStockRspArray;
};
