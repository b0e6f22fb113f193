#include "DataBase/NetData/FundQuoteInf.h"

#include "Common/Util.h"

namespace {

std::string netValue(int32_t value) {
    return Util::FormatDivisionValue(value, 10000, 3);
}

std::string growth(int32_t value) {
    return Util::FormatDivisionRate(value, 10000, true);
}

} // namespace

std::string OpenFundQuoteInf::FormatValue(int32_t fieldID) const {
    switch (fieldID) {
    case 601:
        return Util::FormatDate(date);
    case 602:
        return Util::FormatDate(priorDate);
    case 603:
        return netValue(lastPrice);
    case 604:
        return netValue(finalPrice);
    case 605:
        return netValue(priorLastPrice);
    case 606:
        return netValue(priorFinalPrice);
    case 607:
        return growth(dayIncRate);
    case 608:
        return growth(weekIncRate);
    case 609:
        return growth(monthIncRate);
    case 610:
        return growth(yearIncRate);
    default:
        return "--";
    }
}

std::string CurrencyFundQuoteInf::FormatValue(int32_t fieldID) const {
    switch (fieldID) {
    case 601:
        return Util::FormatDate(date);
    case 602:
        return Util::FormatDate(priorDate);
    case 611:
        return netValue(income10000);
    case 612:
        return growth(incomeRate7);
    case 613:
        return netValue(priorIncome10000);
    case 614:
        return growth(priorIncomeRate7);
    default:
        return "--";
    }
}
