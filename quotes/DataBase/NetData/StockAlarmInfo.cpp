#include "DataBase/NetData/StockAlarmInfo.h"

#include "Common/Util.h"

void StockAlarmInfo::setValidFlag(int8_t flag) {
    todayRiseValid = flag;
    todayFallValid = flag;
    todayExchangeValid = flag;
    todayNewsValid = flag;
}

std::string StockAlarmInfo::FormatValue(int32_t fieldID) const {
    switch (fieldID) {
    case 1:
        return FormatFloatValue(priceGreaterThan);
    case 2:
        return FormatFloatValue(priceLessThan);
    case 3:
        return FormatFloatValue(todayRise);
    case 4:
        return FormatFloatValue(todayFall);
    case 5:
        return FormatFloatValue(todayExchange);
    case 6:
        return todayRiseValid == 0 ? "一次" : todayRiseValid == 1 ? "永久" : "";
    default:
        return {};
    }
}

std::string StockAlarmInfo::FormatFloatValue(float value) const {
    if (value == -1.0f)
        return {};
    return Util::FormatFloat(value, decimal < 0 ? 2 : decimal);
}
