#pragma once

#include "DataBase/NetData/StockQuoteInf.h"

#include <string>
#include <utility>
#include <vector>

// The figures the detail screen builds from a security's record for each screen mode (0 stock,
// 1 Shanghai/Shenzhen or board index, 2 future, 3 open fund, 4 foreign exchange, 5 other index):
// the six values under the header's captions, and the values of the right-hand panel's grid with
// the signs that colour some of them.
namespace StockDetailValues {

// Header captions of the mode, left to right; six empty texts for an open fund.
const std::vector<std::string> &fieldNames(int mode);

// The six header values; empty where the mode shows none (an open fund, or an index or future
// record of another type).
std::vector<std::string> headerValues(int mode, const StockBasicInf &record);

struct PanelValues {
    std::vector<std::string> values;
    // (index, sign): the value at the index is coloured by the sign of the number.
    std::vector<std::pair<int, int>> signs;
};

// The right-hand grid's values; none for an open fund (its tables are filled by the fund replies).
PanelValues panelValues(int mode, const StockBasicInf &record);

} // namespace StockDetailValues
