#include "Module/StockDataBaseMgnt/KLineNetData.h"

#include "Common/TimeFunc.h"
#include "DataBase/MarketTimes/MarketTimes.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include <algorithm>

namespace {

bool isMultiDay(int ktype) {
    return ktype == StockFunc::WeekPeriod || ktype == StockFunc::MonthPeriod;
}

const KLineItem *firstCandle(const KLinePack &pack) {
    return pack.rspArray.empty() ? nullptr : dynamic_cast<const KLineItem *>(pack.rspArray.front().get());
}

const KLineItem *lastCandle(const KLinePack &pack) {
    return pack.rspArray.empty() ? nullptr : dynamic_cast<const KLineItem *>(pack.rspArray.back().get());
}

// Candles one trading day holds in a period.
int barsPerDay(int ktype, const std::string &code) {
    if (ktype >= KLineNetData::DayPeriod)
        return 1;
    int minutes = MarketTimes::Instance().getMinCount(code);
    switch (ktype) {
    case 1:
        return minutes;
    case 2:
        return minutes / 5 + 1;
    case 3:
        return minutes / 15 + 1;
    case 4:
        return minutes / 30 + 1;
    case 5:
        return minutes / 60 + 1;
    default:
        return minutes / 240 + 1;
    }
}

} // namespace

KLineNetData::KLineNetData() : m_netdatacenter(sharedNetDataCenter()) {}

KLineNetData::KLineNetData(base::Weak<NetDataCenter> netdatacenter)
    : m_netdatacenter(std::move(netdatacenter)) {}

base::Ref<KLinePack> KLineNetData::getKLinePack(const std::string &code, int ktype) const {
    return KLinePack::getKLinePack(m_packs, code, ktype);
}

base::Ref<KLinePack> KLineNetData::getKLinePackWithCreate(const std::string &code, int ktype) {
    if (auto pack = getKLinePack(code, ktype))
        return pack;
    auto pack = base::make<KLinePack>(code, ktype);
    m_packs.push_back(pack);
    return pack;
}

KLineNetData::ObjectList *KLineNetData::getKLineRspArray(const std::string &code, int ktype) const {
    auto pack = getKLinePack(code, ktype);
    return pack ? &pack->rspArray : nullptr;
}

int KLineNetData::refreshCount(const KLinePack &pack) const {
    auto center = netdatacenter();
    const KLineItem *last = lastCandle(pack);
    int bars = barsPerDay(pack.ktype, pack.code);
    if (!center || !last)
        return bars;
    // Minute candles carry a packed time: the day count needs their full date.
    int days = StockFunc::distanceExchangeDays(StockFunc::getKLineFullDate(last->time, pack.ktype),
                                               center->IO_ServerDate) +
               1;
    return days > 0 ? int(std::min<int64_t>(int64_t(bars) * days, MaxReqCount)) : bars;
}

bool KLineNetData::reqKLine(const QuoteRequester &requester, const std::string &code, int ktype,
                            bool isForwardReq, int reqCount, bool isCalcDayToMultiDay) {
    // Paging back needs a count of candles to ask for.
    if (!StockFunc::isValidCode(code) || ktype < 1 || ktype > 9 || (isForwardReq && reqCount < 1))
        return false;
    const bool fromDays = isMultiDay(ktype) && isCalcDayToMultiDay;
    auto pack = getKLinePackWithCreate(code, fromDays ? DayPeriod : ktype);
    if (!pack->isIdle || (isForwardReq && pack->isGetFirstKLine))
        return false;
    const size_t held = pack->rspArray.size();
    bool forward = isForwardReq;
    if (pack->canReadLocalData(isForwardReq)) {
        int read = 0;
        if (readKLineToPack(pack, reqCount, 0, read)) {
            if (held > 0) {
                DoNotifyDelegate(requester, pack);
                if (read >= reqCount)
                    return true;
            } else {
                // The cache gave the history: ask the server for the newest candles only.
                forward = false;
            }
        }
    }
    bool chained = false;
    if (fromDays && isForwardReq) {
        if (held > 0 || pack->rspArray.empty()) {
            reqMultiDayKLine(requester, code, ktype, held == 0, true);
            return true;
        }
        pack->tag = MultiDayTagBase + ktype;
        chained = true;
    }

    if (pack->rspArray.empty()) {
        pack->isForwardReq = true;
        pack->pos = 0;
        pack->reqCount = MaxReqCount;
    } else if (forward) {
        pack->isForwardReq = true;
        pack->reqCount = reqCount;
        pack->pos = firstCandle(*pack) ? firstCandle(*pack)->time : 0;
    } else {
        pack->isForwardReq = false;
        pack->pos = 0;
        pack->reqCount = refreshCount(*pack);
    }
    pack->reqMode = 1;
    pack->reqCount = std::min(pack->reqCount, MaxReqCount);
    pack->isRealForwardReq = held == 0 ? true : forward;
    setPackRequester(*pack, requester);
    pack->manager = chained ? weak_from_this() : base::Weak<base::Object>();
    auto center = netdatacenter();
    return center && center->RequestKLine(requester, pack);
}

bool KLineNetData::reqLatestKLine(const QuoteRequester &requester, const std::string &code, int ktype) {
    return reqKLine(requester, code, ktype, false, MaxReqCount, false);
}

bool KLineNetData::reqKLineForwardBatch(const QuoteRequester &requester, const std::string &code, int ktype,
                                        int toDate, int reqCount, bool notifyOnGetAllData) {
    if (!StockFunc::isValidCode(code) || (toDate <= 0 && reqCount <= 0))
        return false;
    auto pack = getKLinePackWithCreate(code, ktype);
    // A busy pack keeps the chain it is in: nothing of it changes.
    if (pack->isGetFirstKLine || !pack->isIdle)
        return false;
    const bool countMode = reqCount > 0;
    pack->reqForwardToDate = countMode ? 0 : toDate;
    pack->reqForwardCount = reqCount;
    if (pack->canReadLocalData(true)) {
        int read = 0;
        if (readKLineToPack(pack, countMode ? reqCount : 0, countMode ? 0 : toDate, read)) {
            DoNotifyDelegate(requester, pack);
            if (pack->isGetFirstKLine)
                return true;
            if (countMode) {
                if (read >= reqCount)
                    return true;
                pack->reqForwardCount = reqCount - read;
            } else if (firstCandle(*pack) && firstCandle(*pack)->time <= toDate) {
                return true;
            }
        }
    }
    if (pack->rspArray.empty()) {
        pack->pos = 0;
    } else {
        int32_t first = firstCandle(*pack) ? firstCandle(*pack)->time : 0;
        if (!countMode && (first <= toDate || StockFunc::distanceExchangeDays(toDate, first) < 0))
            return false;
        pack->pos = first;
    }
    pack->reqCount = MaxReqCount;
    pack->reqMode = 2;
    pack->notifyOnGetAllData = notifyOnGetAllData;
    pack->isForwardReq = true;
    pack->isRealForwardReq = true;
    setPackRequester(*pack, requester);
    pack->manager = weak_from_this();
    pack->tag = countMode ? ForwardCountTag : ForwardToDateTag;
    auto center = netdatacenter();
    return center && center->RequestKLine(requester, pack);
}

base::Opt<void> KLineNetData::OnRspKLine(const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? KLinePack::getKLinePackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return {};
    QuoteRequester requester = requesterOfPack(*pack);
    if (pack->tag == ForwardToDateTag) {
        reqKLineForwardBatch(requester, pack->code, pack->ktype, pack->reqForwardToDate,
                             pack->reqForwardCount, pack->notifyOnGetAllData);
    } else if (pack->tag == ForwardCountTag) {
        pack->reqForwardCount -= pack->rspCount;
        if (pack->reqForwardCount > 0)
            reqKLineForwardBatch(requester, pack->code, pack->ktype, 0, pack->reqForwardCount,
                                 pack->notifyOnGetAllData);
    } else if (pack->tag > MultiDayTagBase && pack->tag <= MultiDayTagBase + 9) {
        reqMultiDayKLine(requester, pack->code, pack->tag - MultiDayTagBase, true, true);
    }
    return {};
}

void KLineNetData::reqMultiDayKLine(const QuoteRequester &requester, const std::string &code, int ktype,
                                    bool isFirstReq, bool notifyOnGetAllData) {
    int batches = ktype == StockFunc::WeekPeriod    ? WeekBatches
                  : ktype == StockFunc::MonthPeriod ? MonthBatches
                                                    : 0;
    if (isFirstReq)
        if (auto days = getKLinePack(code, DayPeriod); days && !days->rspArray.empty())
            batches -= int((days->rspArray.size() + MaxReqCount - 1) / MaxReqCount);
    if (batches > 0)
        reqKLineForwardBatch(requester, code, DayPeriod, 0, batches * MaxReqCount, notifyOnGetAllData);
}

KLineNetData::ObjectList *KLineNetData::calcMultiDayKData(const std::string &code, int ktype, bool isRecalc) {
    auto days = getKLinePack(code, DayPeriod);
    if (!days || days->rspArray.empty() || !isMultiDay(ktype))
        return nullptr;
    auto computed = getKLinePackWithCreate(code, ktype + ComputedPeriodOffset);
    computed->updateTick = TimeFunc::getCurTick();
    computed->dataExrightType = days->dataExrightType;
    computed->dataExrightDate = days->dataExrightDate;
    auto snapshot = std::dynamic_pointer_cast<KLineItem>(computed->obj);
    if (!snapshot) {
        snapshot = base::make<KLineItem>();
        computed->obj = snapshot;
    }
    if (isRecalc)
        computed->rspArray.clear();
    StockFunc::calcMultiDayKLine(ktype, computed->rspArray, days->rspArray, *snapshot);
    if (const KLineItem *last = lastCandle(*days)) {
        snapshot->time = last->time;
        snapshot->closeprice = last->closeprice;
        snapshot->highprice = last->highprice;
        snapshot->lowprice = last->lowprice;
        snapshot->vol = last->vol;
        snapshot->amount = last->amount;
    }
    // What the server's own week or month candles carried moves onto the computed ones.
    if (auto server = getKLinePack(code, ktype); server && !server->rspArray.empty()) {
        auto &mine = computed->rspArray;
        auto &theirs = server->rspArray;
        for (int64_t i = int64_t(mine.size()) - 1, j = int64_t(theirs.size()) - 1; i >= 0 && j >= 0;) {
            auto a = dynamic_cast<KLineItem *>(mine[size_t(i)].get());
            auto b = dynamic_cast<KLineItem *>(theirs[size_t(j)].get());
            if (!a || !b || a->time == b->time) {
                if (a && b) {
                    a->addStockInfo = b->addStockInfo;
                    a->bsItem = b->bsItem;
                }
                --i, --j;
            } else if (a->time > b->time) {
                --i;
            } else {
                --j;
            }
        }
        theirs.clear();
    }
    return &computed->rspArray;
}

void KLineNetData::save(const KLinePack &pack) const {
    if (!pack.rspArray.empty())
        LocalFileFunc::saveKLine(pack.code, pack.ktype, pack.rspArray, pack.isGetFirstKLine);
}

void KLineNetData::saveAndRemoveAllKLines() {
    for (const auto &pack : m_packs)
        save(*pack);
    m_packs.clear();
}

void KLineNetData::saveAndRemoveKLine(const std::string &code) {
    std::erase_if(m_packs, [&](const base::Ref<KLinePack> &pack) {
        if (pack->code != code)
            return false;
        save(*pack);
        return true;
    });
}

void KLineNetData::setAllIdle() {
    RequestPosItem::setAllIdle(m_packs);
}

bool KLineNetData::readKLineToPack(const base::Ref<KLinePack> &pack, int reqCount, int toDate,
                                   int &preadCount) {
    char first = 0;
    int read = 0, firstTime = 0, lastTime = 0;
    bool usable = LocalFileFunc::readKLine(pack->code, pack->ktype, reqCount, toDate, pack->rspArray, first,
                                           read, firstTime, lastTime);
    pack->existLocalData = usable ? 1 : 2;
    pack->localFirstTime = firstTime;
    pack->localLastTime = lastTime;
    preadCount = read;
    if (!usable || read < 1 || pack->rspArray.empty())
        return false;
    pack->isGetFirstKLine = first != 0;
    return true;
}

bool KLineNetData::readAllKLineToPack(const base::Ref<KLinePack> &pack) {
    char first = 0;
    if (!LocalFileFunc::readKLine(pack->code, pack->ktype, pack->rspArray, first))
        return false;
    pack->isGetFirstKLine = first != 0;
    return true;
}

void KLineNetData::DoNotifyDelegate(const QuoteRequester &requester, const base::Ref<KLinePack> &pack) {
    pack->isRealForwardReq = true;
    auto params = base::make<ReqParams>(ReqParams{{"isForwardReq", true}});
    params->setObject("pack", pack);
    deliverLater(requester, CandleReplyType, params);
}
