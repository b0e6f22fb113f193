#pragma once

#include "Level2TechTypes.h"
#include "TechIndexBase.h"

// The level-2 indicators of the day candlestick chart: DDX, DDY, DDZ, main funds (series the
// quote server sends ready-made, one value per day) and the BS points (drawn from the candles'
// own records). The chart keeps the delivered series per code and hands the current one in; this
// class lines it up with the candles in each candle's level-2 slot.
class KLineLevel2TechIndex : public TechIndexBase {
public:
    // A series of `DD_Item`s, oldest first.
    using Series = std::vector<base::Ref<base::Object>>;

    explicit KLineLevel2TechIndex(int32_t techType);

    // Re-types the indicator and replaces its output names.
    void setTechType(int32_t techType);
    // Lines the series up with the candles by date: a candle with a same-dated item takes its
    // value (a bar for DDX and DDY, a banded line for DDZ, a line for main funds), every other
    // candle is reset to hidden 0, so nothing of an earlier code or security survives. The BS
    // points, any other code and a missing series leave every candle hidden. No list computes
    // nothing.
    void calculate(const base::Ref<Series> &series, const base::Ref<const KLineList> &klineList);

    base::Ref<TechLineItem> getItem(int index) const override;
    // Main funds: the shown values' range; DDX, DDY and DDZ: symmetric about 0; else NO.
    bool getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const override;

    static std::string getTechName(int32_t techType) { return Level2TechTypes::name(techType); }
    static int getLeftTextDigits(int32_t) { return 2; }
    static int getTopTextDigits(int32_t) { return 3; }
};
