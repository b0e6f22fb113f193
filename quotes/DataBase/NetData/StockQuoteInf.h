#pragma once

#include "base/Object.h"

#include <array>
#include <cstdint>
#include <string>

// The quote snapshot of one security as a list row. Numbers are stored as the reply carries them:
// prices scaled by 10^decimal (0: no value), volumes in 手, amounts in 万. An empty `code` or
// `name` means none was received.
class StockQuoteInf : public base::Object {
public:
    std::string code;
    std::string name;
    int8_t decimal = 0;
    int8_t type = 0;
    int32_t closeprice = 0;
    int32_t openprice = 0;
    int32_t newprice = 0;
    int32_t highprice = 0;
    int32_t lowprice = 0;
    int32_t vol = 0;
    int32_t amount = 0;
    int16_t chengfenID = 0;
    int16_t sellVolUnit = 0;
    int32_t npSellVol = 0;
    int32_t xianshou = 0;
    int16_t liangbi = 0;
    int16_t huanshou = 0;
    int16_t IncreaseSPD = 0;
    int16_t weibi = 0;
    int8_t noteCount = 0;
    int32_t shiyingRate = 0;
    int32_t shijingRate = 0;
    int32_t sell1Price = 0;
    int32_t buy1Price = 0;
    int32_t riseRate7 = 0;
    int32_t transpRate7 = 0;
    int32_t riseRate30 = 0;
    int32_t transpRate30 = 0;
    int16_t ddx1 = 0;
    int16_t ddy1 = 0;
    int32_t ddz1 = 0;
    int32_t ddx60 = 0;
    int32_t ddy60 = 0;
    int8_t redCount = 0;
    int8_t redEvenCount = 0;
    // Seconds since the reference date at which the record was last filled; survives clear().
    double updateTick = 0;
    int32_t fundIn = 0;
    int32_t fundOut = 0;
    int32_t fundIn5 = 0;
    int32_t fundOut5 = 0;
    int32_t fundAmount5 = 0;
    int32_t fundIn30 = 0;
    int32_t fundOut30 = 0;
    int32_t fundAmount30 = 0;
    int32_t prodyposition = 0;
    int32_t prodysettlement = 0;
    int32_t prodposition = 0;
    int32_t prodsettlement = 0;

    // Back to a fresh record, keeping updateTick.
    virtual void clear();
    // The display text of a QuoteFieldID; a negative display digit shows prices with `decimal`
    // decimals. Unknown ids give the empty string.
    virtual std::string FormatValue(int32_t fieldID, int32_t displayDigit = -1) const;
    // The code as lists show it: with its prefix for SH, SZ, HK and OF, without it otherwise.
    static std::string FormatDisplayCode(const std::string &code);
    std::string getDisplayCode() const { return FormatDisplayCode(code); }
};

// The full detail snapshot of one security, also the row type of several lists.
class StockBasicInf : public StockQuoteInf {
public:
    int32_t upStopPrice = 0;
    int32_t downStopPrice = 0;
    int32_t totalCapital = 0;
    int32_t circulatedCapital = 0;
    int32_t avePrice = 0;
    int8_t bombCount = 0;
    int32_t star = 0;
    int32_t minLinePos = 0;
    int16_t riseCount = 0;
    int16_t planeCount = 0;
    int16_t fallCount = 0;
    int32_t weightingAvePrice = 0;
    int32_t circulatedMarketValue = 0;
    int32_t totalMarketValue = 0;
    int16_t buyZDRate = 0;
    int16_t buyDDRate = 0;
    int16_t buyTDDRate = 0;
    int16_t sellZDRate = 0;
    int16_t sellDDRate = 0;
    int16_t sellTDDRate = 0;
    int16_t buyDDVol = 0;
    int16_t sellDDVol = 0;
    int16_t organBuyDDVol = 0;
    int16_t organSellDDVol = 0;
    int32_t settlement = 0;
    int32_t ysettlement = 0;
    int32_t position = 0;
    int32_t yposition = 0;
    int32_t incPosition = 0;
    int32_t yesDate = 0;
    int32_t sevenDYRate = 0;

    // The order book, best level first: index 0 is buy 1 / sell 1, index 9 the tenth level.
    std::array<int32_t, 10> buyPrice{};
    std::array<int32_t, 10> buyVol{};
    std::array<int32_t, 10> sellPrice{};
    std::array<int32_t, 10> sellVol{};

    void clear() override;
    std::string FormatValue(int32_t fieldID, int32_t displayDigit = -1) const override;
};
