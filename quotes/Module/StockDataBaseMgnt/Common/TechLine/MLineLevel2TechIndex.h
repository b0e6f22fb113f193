#pragma once

#include "Level2TechTypes.h"
#include "TechIndexBase.h"

// The level-2 indicators of the intraday chart: the minute DDX (bar of the minute's change and
// line of the running total), the order-count difference (sticks) and total buy and sell volume
// (two lines). Unlike the candle indicators it keeps its own records, one per minute, rebuilt by
// every calculation from the series the intraday chart hands in.
class MLineLevel2TechIndex : public TechIndexBase {
public:
    // Per minute: `SeriesNumber`s for the minute DDX (running total × 1000) and the order-count
    // difference, `Level2MinBSVolItem`s for total buy and sell.
    using Series = std::vector<base::Ref<base::Object>>;

    explicit MLineLevel2TechIndex(int32_t techType);

    void setTechType(int32_t techType);
    // One record per minute for the three minute codes; none for any other code or without a
    // series. An element of the wrong kind gives a hidden record, so records stay minute-aligned.
    void calculate(const base::Ref<Series> &series);

    int count() const { return int(m_techLines.size()); }
    int recordCount() const override { return count(); }
    // Record i, or the last for −1; none otherwise.
    base::Ref<TechLineItem> getItem(int index) const override;
    // Total buy and sell: the shown values' range; the other two symmetric about 0; else NO.
    bool getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const override;

    static std::string getTechName(int32_t techType) { return Level2TechTypes::name(techType); }
    static int getLeftTextDigits(int32_t techType);
    static int getTopTextDigits(int32_t techType);

private:
    std::vector<base::Ref<TechLineItem>> m_techLines;
};
