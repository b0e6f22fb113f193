#include "TechIndexBase.h"

#include <algorithm>
#include <cmath>

namespace {

base::Ref<TechLineItem> record(const base::Ref<base::Object> &slot) {
    return std::dynamic_pointer_cast<TechLineItem>(slot);
}

} // namespace

base::Ref<TechLineItem> TechIndexBase::getMainTechIndexItem(const KLineItem &candle) {
    return record(candle.mainTechIndexInfo);
}

base::Ref<TechLineItem> TechIndexBase::getTechIndexItem(const KLineItem &candle) {
    return record(candle.techIndexInfo);
}

base::Ref<TechLineItem> TechIndexBase::getLevel2TechIndexItem(const KLineItem &candle) {
    return record(candle.level2TechIndexInfo);
}

TechLineItem &TechIndexBase::newRecord(base::Ref<base::Object> &slot, int capacity) {
    auto item = base::make<TechLineItem>(capacity);
    slot = item;
    return *item;
}

int TechIndexBase::candleIndex(int index) const {
    if (!m_klineList || m_klineList->empty())
        return -1;
    int count = int(m_klineList->size());
    if (index == -1)
        return count - 1;
    return index >= 0 && index < count ? index : -1;
}

base::Ref<TechLineItem> TechIndexBase::getItem(int index) const {
    int i = candleIndex(index);
    if (i < 0)
        return nullptr;
    const KLineItem &candle = *(*m_klineList)[size_t(i)];
    return m_techClass == MainClass ? getMainTechIndexItem(candle) : getTechIndexItem(candle);
}

int TechIndexBase::recordCount() const {
    return m_klineList ? int(m_klineList->size()) : 0;
}

bool TechIndexBase::getMaxMinInfo(int, int, float &, float &) const {
    return false;
}

std::string TechIndexBase::getTechItemName(int index) const {
    if (index < 0 || index >= getOutputParamCount())
        return "";
    return m_outputParams[size_t(index)];
}

void TechIndexBase::defaultRange(int indexFrom, int indexTo, float &max, float &min) const {
    max = RangeStartMax;
    min = RangeStartMin;
    int outputs = getOutputParamCount();
    int last = std::min(indexTo, recordCount() - 1);
    for (int i = std::max(indexFrom, 0); i <= last; ++i) {
        auto item = getItem(i);
        if (!item)
            continue;
        for (int k = 0; k < outputs; ++k) {
            const TechLineSubItem *sub = item->getSubItem(k);
            if (!sub || sub->type <= TechLineSubItem::RiseFlag)
                continue;
            max = std::max(max, sub->value);
            min = std::min(min, sub->value);
        }
    }
}

void TechIndexBase::symmetricRange(int indexFrom, int indexTo, float &max, float &min) const {
    defaultRange(indexFrom, indexTo, max, min);
    float m = std::max(std::fabs(max), std::fabs(min));
    max = m;
    min = -m;
}
