#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// The BS-point state of one candle (level-2 candle indicator).
class Level2BSItem : public base::Object {
public:
    int8_t tag = 0;
    int32_t udd = 0;
    int32_t upp = 0;
    int32_t ls = 0;
    int32_t hs = 0;
    int16_t d3 = 0; // energy level × 100
    uint8_t p1 = 0; // holding (after a B point)
    uint8_t s1 = 0; // short-term direction up
    uint8_t bs = 0; // a B or S point falls on this candle

    // Splits the flag byte into p1, s1 and bs.
    void parseTag();
    // The hint text of the candle cursor; prices shown with `decimal` decimals.
    std::string getBSString(int32_t decimal, const std::string &dateStr) const;
};

// One daily value of a level-2 candle indicator.
class DD_Item : public base::Object {
public:
    int32_t date = 0;
    float value = 0;
    float value2 = 0;
};

// One minute of the level-2 intraday buy/sell volume indicator.
class Level2MinBSVolItem : public base::Object {
public:
    int32_t totalBuy = 0;
    int32_t totalSell = 0;
};
