#include "KLineLevel2TechIndex.h"

#include "DataBase/NetData/Level2BSItem.h"

namespace {

using Sub = TechLineSubItem;

int32_t drawType(int32_t techType) {
    switch (techType) {
    case Level2TechTypes::DDX:
    case Level2TechTypes::DDY:
        return Sub::Bar;
    case Level2TechTypes::DDZ:
        return Sub::Band;
    case Level2TechTypes::MainFunds:
        return Sub::LineAlways;
    default:
        return Sub::Hidden;
    }
}

} // namespace

KLineLevel2TechIndex::KLineLevel2TechIndex(int32_t techType) {
    setTechType(techType);
}

void KLineLevel2TechIndex::setTechType(int32_t techType) {
    m_techType = techType;
    m_outputParams = Level2TechTypes::outputs(techType);
}

void KLineLevel2TechIndex::calculate(const base::Ref<Series> &series,
                                     const base::Ref<const KLineList> &klineList) {
    if (!klineList)
        return;
    m_klineList = klineList;
    int32_t type = drawType(m_techType);
    size_t p = 0, end = series && type != Sub::Hidden ? series->size() : 0;
    for (const base::Ref<KLineItem> &candle : *klineList) {
        const DD_Item *match = nullptr;
        while (p < end) {
            auto *item = dynamic_cast<const DD_Item *>((*series)[p].get());
            if (item && item->date > candle->time)
                break;
            ++p;
            if (item && item->date == candle->time) {
                match = item;
                break;
            }
        }
        TechLineItem &record = slotRecord(candle->level2TechIndexInfo, 1);
        if (match)
            record.setSubItem(0, type, match->value, type == Sub::Band ? match->value2 : 0);
        else
            record.setSubItem(0, Sub::Hidden, 0);
    }
}

base::Ref<TechLineItem> KLineLevel2TechIndex::getItem(int index) const {
    int i = candleIndex(index);
    return i < 0 ? nullptr : getLevel2TechIndexItem(*(*m_klineList)[size_t(i)]);
}

bool KLineLevel2TechIndex::getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const {
    switch (m_techType) {
    case Level2TechTypes::MainFunds:
        defaultRange(indexFrom, indexTo, max, min);
        return true;
    case Level2TechTypes::DDX:
    case Level2TechTypes::DDY:
    case Level2TechTypes::DDZ:
        symmetricRange(indexFrom, indexTo, max, min);
        return true;
    default:
        return false;
    }
}
