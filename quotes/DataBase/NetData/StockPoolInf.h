#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One stock of a stock pool.
class StockPoolInf : public base::Object {
public:
    std::string code;
    std::string name;
    int8_t decimal = 0;
    int8_t type = 0;
    int16_t sellVolUnit = 0;
    int32_t closeprice = 0;
    int32_t upStopPrice = 0;
    int32_t downStopPrice = 0;
    int32_t totalCapital = 0;
    int32_t circulatedCapital = 0;
    int32_t newprice = 0;
    // Minute in bits 0-5, hour 6-10, day 11-15, month 16-19.
    int32_t enterPoolTime = 0;
    int32_t enterPoolPrice = 0;

    // "--" for ids outside the pool grid's columns.
    std::string FormatValue(int32_t fieldID) const;
    // A value whose sign picks the rise or fall colour of the cell.
    int32_t getColorValue(int32_t fieldID) const;
    // The gain since entry, "%.2f%%" without a plus sign; "--" without both prices.
    std::string getIncomeRate() const;
    // "month-day hh:mm" of the entry time.
    std::string getEnterPoolDate() const;

private:
    // The latest price, or the previous close before the first trade.
    int32_t currentPrice() const { return newprice > 0 ? newprice : closeprice; }
};
