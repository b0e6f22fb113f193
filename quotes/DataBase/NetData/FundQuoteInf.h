#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>

// One open-end fund row; net values and rates are × 10,000.
class OpenFundQuoteInf : public base::Object {
public:
    std::string code;
    std::string name;
    int32_t date = 0;
    int32_t lastPrice = 0;
    int32_t finalPrice = 0;
    int32_t priorDate = 0;
    int32_t priorLastPrice = 0;
    int32_t priorFinalPrice = 0;
    int32_t dayIncRate = 0;
    int32_t weekIncRate = 0;
    int32_t monthIncRate = 0;
    int32_t yearIncRate = 0;

    // Unknown ids give "--".
    std::string FormatValue(int32_t fieldID) const;
};

// One money-market fund row; incomes and yields are × 10,000.
class CurrencyFundQuoteInf : public base::Object {
public:
    std::string code;
    std::string name;
    int32_t date = 0;
    int32_t income10000 = 0;
    int32_t incomeRate7 = 0;
    int32_t priorDate = 0;
    int32_t priorIncome10000 = 0;
    int32_t priorIncomeRate7 = 0;

    // Unknown ids give "--".
    std::string FormatValue(int32_t fieldID) const;
};
