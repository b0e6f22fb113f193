#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One row of the market index list: prices scaled by 10^dot.
class DPIndexItem : public base::Object {
public:
    std::string stockName;
    int32_t dot = 0;
    int32_t price = 0;
    int32_t closeprice = 0;
    int32_t amount = 0;
};
