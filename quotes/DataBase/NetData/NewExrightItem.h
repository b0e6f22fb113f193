#pragma once

#include "base/Object.h"

#include <cstdint>

// One ex-rights event; quantities and money are × 10,000.
class NewExrightItem : public base::Object {
public:
    int32_t date = 0;
    int32_t give = 0;
    int32_t pei = 0;
    int32_t peiPrice = 0;
    int32_t profit = 0;
};

// One cumulative adjustment factor applying from `date`: multiplier and additive term, × 10,000.
class StockExrightItem : public base::Object {
public:
    int32_t date = 0;
    int32_t multi = 0;
    int32_t plus = 0;
};
