#pragma once

#include "DataBase/NetData/KLineItem.h"
#include "TechLineItem.h"

#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

using KLineList = std::vector<base::Ref<KLineItem>>;

// The common part of every indicator: its type code, which candle slot its records live in, its
// output names (one per sub-item index) and the candle list of the last calculation, which the
// chart owning both keeps alive. The classic indicators (TechIndex) and the level-2 ones derive
// from it; the charts read the records of visible candles back through getItem and ask
// getMaxMinInfo for a pane's range.
class TechIndexBase : public base::Object {
public:
    // Which candle slot the records live in.
    enum TechClass : int32_t { MainClass = 1, SubClass = 2 };

    // The starting bounds of a range search: any shown value replaces them.
    static constexpr float RangeStartMax = -100000000.0f;
    static constexpr float RangeStartMin = 100000000.0f;

    int32_t techType() const { return m_techType; }
    int32_t techClass() const { return m_techClass; }

    // Record of candle i (−1: the last candle) from the slot of the indicator's class; none
    // without candles or out of range.
    virtual base::Ref<TechLineItem> getItem(int index) const;
    // The value range of candles from..to (inclusive) for the pane's scale. NO when the
    // indicator has no range of its own (or a fixed one, which is still filled in).
    virtual bool getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const;

    // Number of records the indicator can hand out (candles, or its own minute records).
    virtual int recordCount() const;

    int getOutputParamCount() const { return int(m_outputParams.size()); }
    // Output name i, or "" out of range.
    std::string getTechItemName(int index) const;

    static base::Ref<TechLineItem> getMainTechIndexItem(const KLineItem &candle);
    static base::Ref<TechLineItem> getTechIndexItem(const KLineItem &candle);
    static base::Ref<TechLineItem> getLevel2TechIndexItem(const KLineItem &candle);

protected:
    // The candle's record in a slot, created with `capacity` hidden sub-items when the slot holds
    // none. The same record is reused by every later calculation.
    static TechLineItem &slotRecord(base::Ref<base::Object> &slot, int capacity) {
        if (holdsRecord(slot))
            return static_cast<TechLineItem &>(*slot);
        return newRecord(slot, capacity);
    }
    // Whether the slot holds a record. The record class is final: comparing the dynamic type is
    // the whole cast, and much cheaper than a general one on every candle of every recalculation.
    static bool holdsRecord(const base::Ref<base::Object> &slot) {
        return slot && typeid(*slot) == typeid(TechLineItem);
    }
    static TechLineItem &newRecord(base::Ref<base::Object> &slot, int capacity);
    // The candle index i, or the last one for −1; −1 when it does not exist.
    int candleIndex(int index) const;
    // Every shown output value (type above the rise flag) of the records of candles from..to.
    void defaultRange(int indexFrom, int indexTo, float &max, float &min) const;
    // −M..M with M the larger magnitude of the default range.
    void symmetricRange(int indexFrom, int indexTo, float &max, float &min) const;

    int32_t m_techType = 0;
    int32_t m_techClass = SubClass;
    std::vector<std::string> m_outputParams;
    base::Ref<const KLineList> m_klineList;
};
