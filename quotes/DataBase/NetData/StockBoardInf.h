#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One board (sector) row; `range` is the rise percentage × 10^decimal.
class StockBoardInf : public base::Object {
public:
    std::string code;
    std::string name;
    int32_t decimal = 0;
    int32_t lastPrice = 0;
    int32_t range = 0;
    int16_t boardID = 0;

    // Ids 1 (rise) and 4 (latest value); "--" for any other.
    std::string FormatValue(int32_t fieldID) const;
};
