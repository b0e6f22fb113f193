#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One price alarm. A threshold of -1 is not set; the Valid flags are 0 once, 1 permanent.
class StockAlarmInfo : public base::Object {
public:
    std::string code;
    std::string name;
    float priceGreaterThan = 0;
    float priceLessThan = 0;
    float todayRise = 0;
    int8_t todayRiseValid = 0;
    float todayFall = 0;
    int8_t todayFallValid = 0;
    float todayExchange = 0;
    int8_t todayExchangeValid = 0;
    int8_t todayNewsValid = 0;
    // Decimals the thresholds are shown with; -1 while unknown.
    int8_t decimal = -1;
    int32_t alarmID = 0;

    // Sets all four validity flags.
    void setValidFlag(int8_t flag);
    // Ids 1 to 5 the thresholds, 6 the validity; the empty string for any other.
    std::string FormatValue(int32_t fieldID) const;
    // The empty string for an unset threshold (-1).
    std::string FormatFloatValue(float value) const;
};

// One triggered alarm.
class StockHistoryAlarmInfo : public base::Object {
public:
    std::string code;
    std::string name;
    std::string alarmDesc;
    int32_t msgType = 0;
};
