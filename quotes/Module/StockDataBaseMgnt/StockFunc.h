#pragma once

#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NewExrightItem.h"
#include "base/Object.h"

#include <cstdint>
#include <string_view>
#include <vector>

class StockQuoteInf;

// The candle arithmetic of the market data layer: ex-rights adjustment of candle prices in both
// directions, the ex-rights markers of candles, week and month candles built from day candles, and
// the code predicates and date distances that size candle requests. The candle requesters and the
// stock detail data centre call it. Class operations only; never instantiated.
//
// Candle and event lists are requesters' reply lists (oldest first); entries of another class are
// passed over. Every adjustment starts from the unadjusted copies a candle carries (oopenprice …
// ovol), so applying another type, or the same again, never compounds. Adjustment types: 0 none,
// 1 forward (events on or before the base date fold into older prices), 2 backward (events on or
// after the base date fold into newer prices); any other value acts as 0.
//
// Event quantities and factors are scaled by 10,000. Hostile events cannot break the arithmetic:
// an event whose share multiplier 1 + give + pei is not above 0 is passed over, a factor whose
// multiplier is not above 0 acts as the identity, and every float-to-int conversion is clamped.
class StockFunc {
public:
    using ObjectList = std::vector<base::Ref<base::Object>>;
    using FactorList = std::vector<base::Ref<StockExrightItem>>;

    // exrightFlag values of a candle.
    enum ExrightMark : int8_t {
        NoExright = 0,
        ExrightNotShown = 1,
        ExrightForward = 2,
        ExrightBackward = 3,
    };
    enum ExrightType { NoAdjust = 0, ForwardAdjust = 1, BackwardAdjust = 2 };
    static constexpr int32_t FactorScale = 10000;
    static constexpr int WeekPeriod = 8;
    static constexpr int MonthPeriod = 9;

    StockFunc() = delete;

    // A code is a two-letter market prefix and at least one more character.
    static bool isValidCode(std::string_view code) { return code.size() > 2; }
    // A Shanghai or Shenzhen stock (type 1).
    static bool isSHSZStock(const StockQuoteInf *quote);
    // The two market indexes: "SH000001" and "SZ399001".
    static bool isSZSCIndex(std::string_view code);
    // An open fund ("OF" market).
    static bool isOFCode(std::string_view code);

    // Exchange days from one yyyymmdd date to another: the civil days less two per whole week
    // (holidays are not counted out); negative backwards, 0 when either is not a date.
    static int distanceExchangeDays(int fromDate, int toDate);
    // Above ktype 6 the time itself; for minute candles the packed date as yymmdd.
    static int getKLineDate(int time, int ktype);
    // The yyyymmdd date of a candle time of any period; 0 when it holds none.
    static int getKLineFullDate(int time, int ktype);

    // The cumulative factors of the events for the type and base date, oldest first.
    static void calcExrightList(const ObjectList &exrightList, FactorList &destArray, int exrightType,
                                int exrightDate);
    // Adjusts a whole candle list and sets the flags of event candles for the type. NO, touching
    // nothing, for an empty list, a directional type without base date, or no event on its side.
    static bool calcKLineExrightData(int exrightType, int exrightDate, int digit, const ObjectList &klineList,
                                     const ObjectList &exrightList);
    // Marks, and for a backward adjustment adjusts, the newest candle after a refresh.
    static bool calcLastKLineExright(int exrightType, int exrightDate, int digit, const ObjectList &klineList,
                                     const ObjectList &exrightList);
    // Marks the candles an event falls on among the first (count − posOffset).
    static bool SetKLineExrightFlag(const ObjectList &klineList, const ObjectList &exrightList,
                                    int posOffset);
    // Marks the week or month candles whose period holds an event.
    static void setMultiDayKLineExrightFlag(const ObjectList &klineList, int ktype,
                                            const ObjectList &exrightList);

    // Builds week (8) or month (9) candles from days fromIndex … toIndex, stopping at a day on or
    // after toDate when it is above 0; appends them, or without isAddObj puts them in front.
    static void calcMultiDayKLine2(int ktype, ObjectList &resultKList, const ObjectList &dayKList,
                                   int fromIndex, int toIndex, int toDate, bool isAddObj);
    // Brings the week or month list up to date with the day list, rebuilding as little as it can;
    // `savedLastDayKItem` is the caller's snapshot of the last day candle of the previous build.
    static void calcMultiDayKLine(int ktype, ObjectList &resultKList, const ObjectList &dayKList,
                                  const KLineItem &savedLastDayKItem);
};
