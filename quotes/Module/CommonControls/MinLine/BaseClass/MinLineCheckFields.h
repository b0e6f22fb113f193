#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the intraday chart last recalculated from: the quote snapshot's code and prices and the
// minute list's count and last point. An update that matches it changes nothing on the chart.
struct MinLineCheckFields {
    MinLineCheckFields() { clear(); }
    // No code, zeros, and both "missing" flags set.
    void clear();

    std::optional<std::string> code;
    int32_t openprice, closeprice, highprice, lowprice;
    int32_t mcount;
    int32_t lastMTime, lastMPrice, lastMAve, lastMVol;
    bool isNilBasicInf, isNilMinLineList;
};
