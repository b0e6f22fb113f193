#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One member's contribution to an index.
class IndexGXItem : public base::Object {
public:
    std::string code;
    std::string name;
    int32_t digit = 0;    // points × 100
    int16_t risefall = 0; // percent × 100
};

// One big-order deal of a stock; `type` 0 to 5 names the kind of big order.
class StockDDDetailItem : public base::Object {
public:
    int8_t type = 0;
    int16_t time = 0; // HHMM
    int32_t vol = 0;
};

// One big-order deal among an index's members.
class IndexDDDetailItem : public base::Object {
public:
    std::string code;
    std::string name;
    int8_t type = 0;
    int16_t time = 0;
    int32_t vol = 0;
};
