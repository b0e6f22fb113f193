#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// A stock a fund holds; the rates are percent × 100.
class OpenFundStockItem : public base::Object {
public:
    std::string code;
    std::string name;
    int32_t priorHoldVol = 0;
    int32_t holdVol = 0;
    int32_t inFundRate = 0;
    int32_t inCapitalRate = 0;
};

// A fund's shares over one report period, in 10,000 shares.
class OpenFundSharesItem : public base::Object {
public:
    int32_t date = 0;
    int32_t beginningShares = 0;
    int32_t buyShares = 0;
    int32_t sellShares = 0;
};

// A fund's holders at one report date.
class OpenFundOwnerItem : public base::Object {
public:
    int32_t date = 0;
    int32_t ownerCount = 0;
    int32_t ownerAvgShares = 0;
    int32_t institutionShares = 0;
    int32_t individualShares = 0;
};
