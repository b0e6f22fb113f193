#include "DataBase/NetData/StockBoardInf.h"

#include "Common/Util.h"

std::string StockBoardInf::FormatValue(int32_t fieldID) const {
    switch (fieldID) {
    case 1: {
        // 10^decimal as an integer; a decimal count outside what an integer can scale has no radix.
        int radix = 0;
        if (decimal >= 0 && decimal <= 9) {
            radix = 1;
            for (int i = 0; i < decimal; ++i)
                radix *= 10;
        }
        return Util::FormatDivisionRate(range, radix, true);
    }
    case 4:
        return Util::FormatPrice(float(lastPrice), decimal, decimal);
    default:
        return "--";
    }
}
