#pragma once

#include "TechIndexBase.h"
#include "base/Value.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The classic indicators: volume with its averages, MACD, KDJ, RSI, BIAS, CCI, Bollinger bands,
// Williams %R, DMA and the price moving averages. The candlestick chart owns one object for its
// main pane (MA or BOLL, main slot) and one for its sub-pane (sub slot); `calculate` computes every
// candle's record in place and the chart reads them back through getItem.
//
// Parameters are whole numbers (periods and multipliers): from a list the caller hands in (the
// settings popover), else from the user's parameter file, else from the bundle's defaults file,
// else built in. All arithmetic is single precision, as the values are shown; a value that is
// not a number (a zero divisor where the formula has no guard) is stored hidden as 0 so that no
// label or scale ever sees it.
class TechIndex : public TechIndexBase {
public:
    enum TechType : int32_t {
        NoTech = 0, // the main pane while comparison stocks are overlaid
        VOL = 1,
        MACD = 2,
        KDJ = 3,
        RSI = 4,
        BIAS = 5,
        CCI = 6,
        BOLL = 12,
        WR = 13,
        DMA = 14,
        MA = 4096,
        KeepTech = 4097, // changes nothing
        FundLine = 4098, // the open-fund line mode of the main pane
    };

    // The user's edited parameter list in the documents directory, and the bundle's defaults.
    static constexpr std::string_view UserSettingsFile = "CustomTechIndexSettings.plist";
    static constexpr std::string_view BundleSettingsName = "TechIndexSettings";
    // CCI's factor and its third parameter are fixed whatever the settings say.
    static constexpr float CCIFactor = 0.015f;
    static constexpr float CCIThirdParam = 10;
    // DMA's average of DDD runs over this many candles.
    static constexpr int DMAAverageLength = 10;

    // Stores the type and slot class and takes the parameters from the files or the defaults.
    TechIndex(int32_t techType, int32_t techClass);

    // Re-types the indicator. With a list the parameters come from it, without one from the
    // files; when either is refused the built-in defaults apply.
    void setTechType(int32_t techType, const std::optional<base::Array> &paramArray = std::nullopt);
    // Records {"Parameter": n}; parameters 1 to 4 from records 0 to 3, the rest 0. A value of 0
    // or less stops the walk and answers NO, keeping what came before; YES otherwise when the
    // list had a record.
    bool setParams(const base::Array &paramArray);
    // The "Params" of the first record of the parameter file naming this indicator. NO for no
    // indicator, no readable file, no such record or refused parameters.
    bool readParamsFromFile();

    // Computes every candle's record from the first; no list leaves the records as they were.
    // `digits` is the security's price decimal count (MA, MACD and BOLL show prices); the update
    // type has no effect.
    void calculate(const base::Ref<const KLineList> &klineList, int digits, int updateType = 0);

    // "MA(5,10,20,30)": the first parameter, then every later one above 0, as whole numbers.
    std::string getParamsText() const;
    // Parameter 1 to 4; 0 for any other number.
    float param(int number) const;

    // VOL from 0 up, MACD symmetric, KDJ and RSI fixed at 0..100 (answering NO), the rest the
    // range of the shown values; an unknown type fills nothing and answers NO.
    bool getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const override;

    // "" for an unknown code.
    static std::string getTechName(int32_t techType);
    // 0 for an unknown or missing name. Williams %R is offered as "W&R".
    static int32_t getTechType(std::string_view name);
    // The two codes that mean "no indicator".
    static bool cannotDraw(int32_t techType);
    // Decimals of a pane's axis labels and of its title values.
    static int getLeftTextDigits(int32_t techType);
    static int getTopTextDigits(int32_t techType);

private:
    void setDefaultParams();
    void setOutputs();
    // The calculation's working columns, one set for each thread and shared by every indicator.
    struct Workspace;
    // Takes the thread's workspace, copies the candles' prices into it and notes the candles; each
    // calculation takes a candle's record as it writes it.
    void loadCandles(const KLineList &list);
    // The indicator's slot of a candle.
    base::Ref<base::Object> &slotOf(KLineItem &candle) const {
        return m_techClass == MainClass ? candle.mainTechIndexInfo : candle.techIndexInfo;
    }
    // Candle i's record in the indicator's slot. The first candle without one gets a block of
    // records for itself and every later candle with an empty slot, so that a new list costs one
    // allocation and not one per candle.
    TechLineItem &recordOf(size_t i);
    TechLineItem &newRecordIn(size_t i, base::Ref<base::Object> &slot);

    void calcVOL();
    void calcMA(float priceMulti);
    void calcMACD(float priceMulti);
    void calcKDJ();
    void calcRSI();
    void calcBIAS();
    void calcCCI();
    void calcBOLL(float priceMulti);
    void calcWR();
    void calcDMA();

    float m_param1 = 0, m_param2 = 0, m_param3 = 0, m_param4 = 0;

    // The thread's workspace during a calculation.
    Workspace *m_work = nullptr;
};
