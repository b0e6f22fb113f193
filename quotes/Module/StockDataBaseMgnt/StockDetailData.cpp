#include "Module/StockDataBaseMgnt/StockDetailData.h"

#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "base/Str.h"

#include <atomic>

namespace {

constexpr int DayPeriod = KLineNetData::DayPeriod;
constexpr int32_t FundKLineItem = 2311;
constexpr int32_t ExrightItem = 2966;

// Every centre gets a name of its own, so that replies reach only the centre that asked.
std::string nextObserverName() {
    static std::atomic<int> count{0};
    return base::str::format("StockDetailCenter-%d", count++);
}

std::string curPosKey(int ktype) {
    return base::str::format("CurStockCalcPos-%d", ktype);
}

std::string addPosKey(int ktype) {
    return base::str::format("AddStockCalcPos-%d", ktype);
}

KLineItem *candleOf(const base::Ref<base::Object> &item) {
    return dynamic_cast<KLineItem *>(item.get());
}

// What two candles are compared by: the period id for week and month, else the time.
int alignKey(int ktype, const KLineItem &candle) {
    if (ktype == StockFunc::WeekPeriod || ktype == StockFunc::MonthPeriod)
        return TimeFunc::getWhichPeriod(ktype, candle.time);
    return candle.time;
}

AddStockKLines &addStockInfoOf(KLineItem &candle) {
    auto info = std::dynamic_pointer_cast<AddStockKLines>(candle.addStockInfo);
    if (!info) {
        info = base::make<AddStockKLines>();
        candle.addStockInfo = info;
    }
    return *info;
}

} // namespace

StockDetailData::StockDetailData() : StockDetailData(sharedNetDataCenter()) {}

StockDetailData::StockDetailData(base::Weak<NetDataCenter> netdatacenter)
    : m_stockDetailLib(base::make<StockDetailNetData>(netdatacenter)),
      m_klineLib(base::make<KLineNetData>(netdatacenter)),
      m_minlineLib(base::make<MLineNetData>(netdatacenter)), m_observerName(nextObserverName()) {}

StockDetailData::~StockDetailData() {
    m_klineLib->doClose();
    m_stockDetailLib->StopStockDetailRequest();
}

// ---------------------------------------------------------------------------------------------
// What the screen answers

bool StockDetailData::trendVisible() const {
    auto d = delegate();
    return d && d->isTrendLineViewVisible().valueOr(false);
}

bool StockDetailData::klineVisible() const {
    auto d = delegate();
    return d && d->isKLineViewVisible().valueOr(false);
}

int StockDetailData::kType() const {
    auto d = delegate();
    return d ? d->getKType().valueOr(-1) : -1;
}

bool StockDetailData::exrightMode() const {
    auto d = delegate();
    return d && d->isKLineExrightMode().valueOr(false);
}

int StockDetailData::boardID() const {
    auto d = delegate();
    return d ? d->getCurrentBoardID().valueOr(0) : 0;
}

int StockDetailData::digit() const {
    return m_stockDetailLib->IO_StockBasicInf()->decimal;
}

bool StockDetailData::isConnected() const {
    return DataBase::sharedDataBase()->isHQConnected();
}

// ---------------------------------------------------------------------------------------------
// Detail requests and refresh

void StockDetailData::StartRequest(const std::string &code) {
    m_code = code;
    m_canShowLevel2 = false;
    m_stockDetailLib->StartStockDetailRequest(m_observerName, code);
}

void StockDetailData::reqData(bool isFirstReq) {
    if (!isConnected() || m_code.empty())
        return;
    StockDetailNetData &lib = *m_stockDetailLib;
    if (!lib.IO_isGetBasicInf()) {
        lib.reqBasicInf();
        return;
    }
    if (StockFunc::isOFCode(m_code)) {
        if (!isFirstReq) {
            AddStocks_ReqOnTimer();
            return;
        }
        lib.reqStockData(2311);
        if (lib.IO_StockBasicInf()->type != 5)
            lib.reqStockData(2312);
        lib.reqStockData(2313);
        lib.reqStockData(2314);
        return;
    }
    lib.reqBasicInf();
    const bool board = Util::getMarketCode(m_code) == "BI";
    const int type = lib.IO_StockBasicInf()->type;
    const bool shsz = Util::isSHSZCode(m_code);
    if (type == 0 && !board && shsz)
        lib.reqStockData(2206);
    lib.reqStockData(2940);
    if (m_canShowLevel2)
        lib.reqStockData(2915);
    if (isFirstReq)
        reqExright();
    if (trendVisible())
        reqCurMinLineRel();
    if (klineVisible())
        reqCurKLine(isFirstReq, ReqCandleCount);
    auto center = lib.netdatacenter();
    if (board) {
        if (int id = boardID(); id >= 1) {
            lib.reqBoardStocks(id);
        } else if (center) {
            center->IO_IndexLib->reqIndexGX(m_observerName, BoardIndexFallback);
            center->IO_IndexLib->reqIndexBigInfo(m_observerName, BoardIndexFallback);
        }
    } else if (type != 0) {
        lib.reqStockData(2970);
        lib.reqStockData(2976);
        if (shsz)
            lib.reqStockData(2969);
    } else if (shsz && center) {
        if (StockFunc::isSZSCIndex(m_code))
            center->IO_IndexLib->reqIndexRiseFallLine(m_observerName, m_code);
        center->IO_IndexLib->reqIndexGX(m_observerName, m_code);
        center->IO_IndexLib->reqIndexBigInfo(m_observerName, m_code);
    }
    if (!isFirstReq)
        AddStocks_ReqOnTimer();
}

bool StockDetailData::reqCurKLine(bool isForwardReq, int reqCount) {
    return m_klineLib->reqKLine(m_observerName, m_code, kType(), isForwardReq, reqCount, exrightMode());
}

bool StockDetailData::reqCurDayKLineBatch(int reqCount) {
    return m_klineLib->reqKLineForwardBatch(m_observerName, m_code, DayPeriod, 0, reqCount, true);
}

bool StockDetailData::reqKLineIfNoDataOrOverTime(int ktype) {
    auto pack = getCurKPack(ktype);
    if (!pack || pack->rspArray.empty())
        return reqCurKLine(true, ReqCandleCount);
    bool sent = false;
    if (TimeFunc::getCurTick() - pack->updateTick > RefreshAge)
        sent = reqCurKLine(false, 1);
    AddStocks_ReqAllKLineForwardToFirstTime(&pack->rspArray, ktype);
    return sent;
}

void StockDetailData::reqMinLineIfNoDataOrOverTime() {
    auto pack = m_minlineLib->getMinLinePack(m_code);
    if (pack && TimeFunc::getCurTick() - pack->updateTick <= RefreshAge && !pack->rspArray.empty()) {
        AddStocks_ReqAllMinLine_IfNoData();
        return;
    }
    reqCurMinLineRel();
    AddStocks_ReqAllMinLine();
}

void StockDetailData::reqCurMinLineRel() {
    m_minlineLib->reqMinLine(m_observerName, m_code);
    if (m_canShowLevel2) {
        m_stockDetailLib->reqStockData(2917);
        reqMLineLevel2TechIndex();
    }
}

bool StockDetailData::checkOrReqCurDayKLine(int ktype, bool &pgetLocalData) {
    pgetLocalData = false;
    if (ktype <= DayPeriod)
        return false;
    auto days = m_klineLib->getKLinePack(m_code, DayPeriod);
    ObjectList *computed = getCalcMultiDayKList(ktype);
    if ((!days || !days->isGetFirstKLine) && (!computed || computed->empty())) {
        ObjectList *server = m_klineLib->getKLineRspArray(m_code, ktype);
        const KLineItem *first = server && !server->empty() ? candleOf(server->front()) : nullptr;
        if (!first)
            return false;
        return m_klineLib->reqKLineForwardBatch(m_observerName, m_code, DayPeriod,
                                                TimeFunc::getBeginningOfPeriod(ktype, first->time), 0, true);
    }
    pgetLocalData = true;
    return false;
}

void StockDetailData::reqMLineLevel2TechIndex() {
    if (!m_canShowLevel2)
        return;
    auto d = delegate();
    m_stockDetailLib->reqMLineLevel2(d ? d->getCurMinLineLevel2TechType().valueOr(-1) : -1);
}

void StockDetailData::reqKLineLevel2TechIndex(int type, int displayFirstTime) {
    if (canReqKLineLevel2())
        m_stockDetailLib->reqKLineLevel2(type, m_klineLib->getKLinePack(m_code, DayPeriod), displayFirstTime);
}

void StockDetailData::reqKLineLevel2TechIndexOnTimer(int type) {
    if (canReqKLineLevel2())
        m_stockDetailLib->reqKLineLevel2OnTimer(type, m_klineLib->getKLinePack(m_code, DayPeriod));
}

void StockDetailData::saveAndClearData() {
    if (m_code.empty())
        return;
    m_klineLib->saveAndRemoveAllKLines();
    m_minlineLib->saveAndRemoveMinLine(m_code);
}

void StockDetailData::setAllIdle() {
    m_stockDetailLib->setAllIdle();
    m_klineLib->setAllIdle();
    m_minlineLib->setAllIdle();
}

void StockDetailData::clearCacheData() {
    m_stockDetailLib->clearCacheData();
    m_minlineLib->clearAllMinLinesData();
}

// ---------------------------------------------------------------------------------------------
// Candles and ex-rights

StockDetailData::ObjectList *StockDetailData::getDayKList() const {
    return m_klineLib->getKLineRspArray(m_code, DayPeriod);
}

bool StockDetailData::isGetFirstDayKLine() const {
    auto days = m_klineLib->getKLinePack(m_code, DayPeriod);
    return days && days->isGetFirstKLine;
}

base::Ref<KLinePack> StockDetailData::getCurKPack(int ktype) const {
    bool computed = ktype > DayPeriod && exrightMode();
    return m_klineLib->getKLinePack(m_code, computed ? ktype + KLineNetData::ComputedPeriodOffset : ktype);
}

StockDetailData::ObjectList *StockDetailData::getCurKList(int ktype) const {
    if (StockFunc::isOFCode(m_code))
        return m_stockDetailLib->getStockRspArray(FundKLineItem);
    bool computed = ktype > DayPeriod && exrightMode();
    return m_klineLib->getKLineRspArray(m_code,
                                        computed ? ktype + KLineNetData::ComputedPeriodOffset : ktype);
}

StockDetailData::ObjectList *StockDetailData::getCalcMultiDayKList(int ktype) const {
    return m_klineLib->getKLineRspArray(m_code, ktype + KLineNetData::ComputedPeriodOffset);
}

StockDetailData::ObjectList *StockDetailData::getExrightList() const {
    return m_stockDetailLib->getStockRspArray(ExrightItem);
}

bool StockDetailData::existExrightInfo() const {
    ObjectList *events = getExrightList();
    return m_stockDetailLib->isGetExrightData() && events && !events->empty();
}

bool StockDetailData::canReqKLineLevel2() const {
    return m_canShowLevel2 && kType() == DayPeriod;
}

StockDetailData::ObjectList *StockDetailData::calcOnChangeExright(int exrightType, int exrightDate,
                                                                  int ktype) {
    ObjectList *events = getExrightList();
    ObjectList *days = getDayKList();
    if (!events || events->empty() || !days)
        return nullptr;
    if (exrightType <= 0)
        exrightType = exrightDate = 0;
    if (!StockFunc::calcKLineExrightData(exrightType, exrightDate, digit(), *days, *events))
        return nullptr;
    if (auto pack = m_klineLib->getKLinePack(m_code, DayPeriod)) {
        pack->dataExrightType = exrightType;
        pack->dataExrightDate = exrightDate;
    }
    if (ktype < StockFunc::WeekPeriod)
        return ktype == DayPeriod ? days : nullptr;
    ObjectList *computed = m_klineLib->calcMultiDayKData(m_code, ktype, true);
    AddStocks_CalcAllAddKLines(ktype, true);
    return computed;
}

void StockDetailData::calcExrightOnRspKLine(const base::Ref<KLinePack> &pack, int exrightType,
                                            int exrightDate) {
    ObjectList *events = getExrightList();
    if (!pack || !events || events->empty())
        return;
    pack->dataExrightType = exrightType;
    pack->dataExrightDate = exrightDate;
    if (pack->isRealForwardReq) {
        StockFunc::SetKLineExrightFlag(pack->rspArray, *events, pack->exrightPosOffset);
        pack->exrightPosOffset = int32_t(pack->rspArray.size());
        if (exrightType > 0)
            StockFunc::calcKLineExrightData(exrightType, exrightDate, digit(), pack->rspArray, *events);
    } else if (exrightType > 0) {
        StockFunc::calcLastKLineExright(exrightType, exrightDate, digit(), pack->rspArray, *events);
    }
}

// ---------------------------------------------------------------------------------------------
// Comparison securities

bool StockDetailData::AddStocks_AddCode(const std::string &code) {
    if (m_multiStockList.size() >= MaxAddStocks || !StockFunc::isValidCode(code) || code == m_code ||
        AddStocks_GetDictByCode(code))
        return false;
    auto basicInf = base::make<StockBasicInf>();
    int color = AddStocks_GetNextColorID();
    m_multiStockList.push_back(base::Dict{{"code", code}, {"basicInf", basicInf}, {"colorID", color}});
    AddStocks_ReqOneCode(code, basicInf);
    return true;
}

int StockDetailData::AddStocks_GetNextColorID() const {
    if (m_multiStockList.empty())
        return 1;
    std::vector<bool> used(MaxColorID + 1, false);
    int highest = 0;
    for (const base::Dict &entry : m_multiStockList) {
        int color = int(entry.get("colorID").intValue());
        highest = std::max(highest, color);
        if (color >= 1 && color <= MaxColorID)
            used[size_t(color)] = true;
    }
    if (highest + 1 <= MaxColorID)
        return highest + 1;
    for (int color = 1; color <= MaxColorID; ++color)
        if (!used[size_t(color)])
            return color;
    return 1;
}

bool StockDetailData::AddStocks_DelAll() {
    if (m_multiStockList.empty())
        return false;
    for (const base::Dict &entry : m_multiStockList)
        m_klineLib->saveAndRemoveKLine(entry.get("code").stringValue());
    m_multiStockList.clear();
    return true;
}

base::Dict *StockDetailData::AddStocks_GetDictByCode(const std::string &code) {
    if (!StockFunc::isValidCode(code))
        return nullptr;
    for (base::Dict &entry : m_multiStockList)
        if (entry.get("code").stringValue() == code)
            return &entry;
    return nullptr;
}

void StockDetailData::reqComparisonMinLine(const std::string &code, bool onTimer) {
    if (onTimer)
        m_minlineLib->reqMinLine(m_observerName, code, ComparisonMinuteTag);
    else
        m_minlineLib->reqMinLine(m_observerName, code);
}

void StockDetailData::AddStocks_ReqOneCode(const std::string &code,
                                           const base::Ref<StockBasicInf> &basicInf) {
    if (auto center = m_stockDetailLib->netdatacenter()) {
        center->RequestStkBaseInfo(m_observerName, code, 0, basicInf);
        center->RequestDynamicInfo(m_observerName, code, 0, basicInf);
    }
    if (trendVisible())
        reqComparisonMinLine(code, false);
    if (klineVisible())
        m_klineLib->reqLatestKLine(m_observerName, code, kType());
}

void StockDetailData::AddStocks_ReqOnTimer() {
    auto center = m_stockDetailLib->netdatacenter();
    for (const base::Dict &entry : m_multiStockList) {
        std::string code = entry.get("code").stringValue();
        auto basicInf = entry.get("basicInf").objectAs<StockBasicInf>();
        if (center) {
            center->RequestStkBaseInfo(m_observerName, code, 0, basicInf);
            center->RequestDynamicInfo(m_observerName, code, 0, basicInf);
        }
        if (trendVisible())
            reqComparisonMinLine(code, true);
        if (klineVisible())
            m_klineLib->reqLatestKLine(m_observerName, code, kType());
    }
}

void StockDetailData::AddStocks_ReqAllMinLine() {
    for (const base::Dict &entry : m_multiStockList)
        reqComparisonMinLine(entry.get("code").stringValue(), false);
}

void StockDetailData::AddStocks_ReqAllMinLine_IfNoData() {
    for (const base::Dict &entry : m_multiStockList) {
        std::string code = entry.get("code").stringValue();
        auto minutes = m_minlineLib->getMinLineRspArray(code);
        if (!minutes || minutes->empty())
            reqComparisonMinLine(code, false);
    }
}

void StockDetailData::AddStocks_ReqKLineForward(const std::string &code) {
    int ktype = kType();
    ObjectList *shown = getCurKList(ktype);
    const KLineItem *first = shown && !shown->empty() ? candleOf(shown->front()) : nullptr;
    if (first)
        m_klineLib->reqKLineForwardBatch(m_observerName, code, ktype, first->time, 0, false);
}

void StockDetailData::AddStocks_ReqAllKLineForwardToFirstTime(const ObjectList *shownList,
                                                              int curStockKType) {
    if (m_multiStockList.empty() || !shownList || shownList->empty())
        return;
    const KLineItem *first = candleOf(shownList->front());
    for (const base::Dict &entry : m_multiStockList) {
        std::string code = entry.get("code").stringValue();
        ObjectList *held = m_klineLib->getKLineRspArray(code, curStockKType);
        if (held && !held->empty() && first)
            m_klineLib->reqKLineForwardBatch(m_observerName, code, curStockKType, first->time, 0, false);
        else
            m_klineLib->reqLatestKLine(m_observerName, code, curStockKType);
    }
}

void StockDetailData::AddStocks_CalcAllAddKLines(int ktype, bool isRecalc) {
    ObjectList *shown = getCurKList(ktype);
    for (base::Dict &entry : m_multiStockList) {
        std::string code = entry.get("code").stringValue();
        if (code.empty() || !entry.get("basicInf").objectAs<StockBasicInf>())
            continue;
        if (isRecalc) {
            entry.set(curPosKey(ktype), 0);
            entry.set(addPosKey(ktype), 0);
        }
        ObjectList *add = m_klineLib->getKLineRspArray(code, ktype);
        if (shown && add && entry.get(curPosKey(ktype)).intValue() < int64_t(shown->size()) &&
            entry.get(addPosKey(ktype)).intValue() < int64_t(add->size()))
            calcAddKLine(code, add, ktype);
    }
}

void StockDetailData::AddStocks_CalcAddKLine(const std::string &code, const ObjectList *addKList, int ktype,
                                             bool isUpdateForward) {
    if (isUpdateForward)
        calcAddKLine(code, addKList, ktype);
    else
        calcLastAddKLine(code, addKList, ktype);
}

void StockDetailData::align(const std::string &code, const ObjectList &shown, const ObjectList &add,
                            int ktype, int64_t &i, int64_t &j, int64_t *shownSteps, int64_t *addSteps,
                            bool stopAtAligned) {
    const int64_t newest = int64_t(shown.size()) - 1;
    auto stepShown = [&] {
        --i;
        if (shownSteps)
            ++*shownSteps;
    };
    auto stepAdd = [&] {
        --j;
        if (addSteps)
            ++*addSteps;
    };
    while (i >= 0 && j >= 0) {
        KLineItem *s = candleOf(shown[size_t(i)]);
        KLineItem *a = candleOf(add[size_t(j)]);
        if (stopAtAligned && s && i != newest && s->addStockInfo)
            return;
        if (!s || alignKey(ktype, *s) < 1) {
            stepShown();
            continue;
        }
        if (!a || alignKey(ktype, *a) < 1) {
            stepAdd();
            continue;
        }
        AddStockKLines &info = addStockInfoOf(*s);
        int ks = alignKey(ktype, *s), ka = alignKey(ktype, *a);
        if (ks == ka) {
            info.items[code] = std::dynamic_pointer_cast<KLineItem>(add[size_t(j)]);
            stepShown();
            stepAdd();
        } else if (ka > ks) {
            stepAdd();
        } else {
            info.items.erase(code);
            stepShown();
        }
    }
}

void StockDetailData::calcAddKLine(const std::string &code, const ObjectList *addKList, int ktype) {
    ObjectList *shown = getCurKList(ktype);
    base::Dict *entry = AddStocks_GetDictByCode(code);
    if (code.empty() || !addKList || addKList->empty() || !shown || shown->empty() || !entry)
        return;
    int64_t c = entry->get(curPosKey(ktype)).intValue(), d = entry->get(addPosKey(ktype)).intValue();
    int64_t i = int64_t(shown->size()) - c - 1, j = int64_t(addKList->size()) - d - 1;
    align(code, *shown, *addKList, ktype, i, j, &c, &d, false);
    entry->set(curPosKey(ktype), c);
    entry->set(addPosKey(ktype), d);
}

void StockDetailData::calcLastAddKLine(const std::string &code, const ObjectList *addKList, int ktype) {
    ObjectList *shown = getCurKList(ktype);
    if (code.empty() || !addKList || addKList->empty() || !shown || shown->empty() ||
        !AddStocks_GetDictByCode(code))
        return;
    int64_t i = int64_t(shown->size()) - 1, j = int64_t(addKList->size()) - 1;
    align(code, *shown, *addKList, ktype, i, j, nullptr, nullptr, true);
}

// ---------------------------------------------------------------------------------------------
// Pop-up security

void StockDetailData::reqPopStockDetailView(const std::string &code, bool) {
    if (auto center = m_stockDetailLib->netdatacenter()) {
        center->RequestStkBaseInfo(m_observerName, code, 0, m_popStockBasicInf);
        center->RequestDynamicInfo(m_observerName, code, 0, m_popStockBasicInf);
        center->RequestLevel2BuySellPan(m_observerName, code, 0, m_popStockBasicInf);
    }
    m_minlineLib->reqMinLine(m_observerName, code);
}

void StockDetailData::reqPopStockKLine(const std::string &code) {
    m_klineLib->reqLatestKLine(m_observerName, code, DayPeriod);
}
