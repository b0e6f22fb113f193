#include "DataBase/NetData/StockPoolInf.h"

#include "Common/Util.h"
#include "base/Str.h"

std::string StockPoolInf::FormatValue(int32_t fieldID) const {
    switch (fieldID) {
    case 1:
        return Util::FormatZAFString(newprice, closeprice, true);
    case 4:
        return Util::FormatPrice(float(newprice), decimal, decimal);
    case 9:
        return Util::getNumCode(code);
    case 701:
        return getIncomeRate();
    case 702:
        return getEnterPoolDate();
    case 703:
        return Util::FormatPrice(enterPoolPrice, decimal);
    default:
        return "--";
    }
}

int32_t StockPoolInf::getColorValue(int32_t fieldID) const {
    switch (fieldID) {
    case 701:
        if (enterPoolPrice < 1 || currentPrice() <= 0)
            return 0;
        return int32_t(uint32_t(currentPrice()) - uint32_t(enterPoolPrice));
    case 1:
    case 4:
        return int32_t(uint32_t(newprice) - uint32_t(closeprice));
    default:
        return 0;
    }
}

std::string StockPoolInf::getIncomeRate() const {
    if (enterPoolPrice < 1 || currentPrice() < 1)
        return "--";
    // Both prices are positive, so their difference fits.
    float gain = float(currentPrice() - enterPoolPrice);
    float rate = float(double(gain) * 100.0 / enterPoolPrice);
    return base::str::format("%.2f%%", double(rate));
}

std::string StockPoolInf::getEnterPoolDate() const {
    int minute = enterPoolTime & 0x3F;
    int hour = (enterPoolTime >> 6) & 0x1F;
    int day = (enterPoolTime >> 11) & 0x1F;
    int month = (enterPoolTime >> 16) & 0x0F;
    return base::str::format("%d-%d %@%d:%@%d", month, day, hour < 10 ? "0" : "", hour,
                             minute < 10 ? "0" : "", minute);
}
