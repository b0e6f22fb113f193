#pragma once

#include "base/Object.h"

#include <cstdint>

// One minute of the intraday chart.
class StkMinLineItem : public base::Object {
public:
    int32_t time = 0; // HHMM
    int32_t price = 0;
    int32_t vol = 0;
    int32_t totalVol = 0;
    int32_t ave = 0;
    int32_t holdVol = 0;

    // Equal in time, price, vol, ave and holdVol; the running total is not compared.
    bool isEqual(const StkMinLineItem &other) const;
    bool operator==(const StkMinLineItem &other) const { return isEqual(other); }
};

// One deal (tick).
class StkStrikeDetailItem : public base::Object {
public:
    int32_t time = 0; // HHMMSS, or HHMM
    int32_t dealPrice = 0;
    int32_t dealVol = 0;
    int32_t holdVol = 0;
    bool isOuterPan = false;
    int32_t incVol = 0;
    int8_t dealType = 0;
    int32_t pos = 0;

    // The wire's price word: bit 31 is the outer-side flag, the low 31 bits the price.
    void setDealWord(uint32_t word);
};
