#include "DataBase/NetData/StockQuoteInf.h"

#include "Common/Util.h"

namespace {

// Differences of two reply fields wrap as 32-bit integers do on the wire, without overflow.
int32_t minus(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) - uint32_t(b));
}

std::string money(int32_t value) {
    return Util::FormatAmount(value, 2);
}

std::string volume(int32_t value) {
    return Util::FormatVolume(value, 5, 2);
}

// The share of a net inflow in a turnover, "--" without turnover.
std::string share(int32_t in, int32_t out, int32_t total) {
    if (total < 1)
        return "--";
    return Util::FormatPercent(float(minus(in, out)) / float(total), 2);
}

std::string rate(int32_t value, bool unit = true) {
    return Util::FormatDivisionRate(value, 100, unit);
}

} // namespace

void StockQuoteInf::clear() {
    double tick = updateTick;
    StockQuoteInf::operator=(StockQuoteInf());
    updateTick = tick;
}

std::string StockQuoteInf::FormatValue(int32_t fieldID, int32_t displayDigit) const {
    const int D = decimal;
    const int S = displayDigit >= 0 ? displayDigit : D;
    auto price = [&](int32_t value) { return Util::FormatPrice(float(value), D, S); };
    switch (fieldID) {
    case 1:
        return Util::FormatZAFString(newprice, closeprice, true);
    case 2:
        return volume(vol);
    case 3:
        return Util::FormatAmount(amount, displayDigit >= 0 ? displayDigit : 2);
    case 4:
        return price(newprice);
    case 5:
        return rate(riseRate7);
    case 6:
        return rate(transpRate7);
    case 7:
        return rate(riseRate30);
    case 8:
        return rate(transpRate30);
    case 9:
        return code;
    case 10:
        return Util::getDDXString(ddx1);
    case 11:
        return Util::getDDXString(ddy1);
    case 12:
        return Util::getDDXString(ddz1);
    case 13:
        return Util::getDDXString(ddx60);
    case 14:
        return Util::getDDXString(ddy60);
    case 15:
        return Util::FormatIntValue(redCount, "天");
    case 16:
        return Util::FormatIntValue(redEvenCount, "天");
    case 20:
        return Util::FormatDivisionValue(liangbi, 100, 2);
    case 21:
        return rate(huanshou);
    case 22:
        return Util::FormatZEFString(lowprice, highprice, true);
    case 23:
        return Util::FormatDivisionValue(shiyingRate, 100, 2);
    case 24:
        return Util::FormatDivisionValue(shijingRate, 100, 2);
    case 25:
        return rate(IncreaseSPD, false);
    case 26:
        return rate(weibi, false);
    case 502:
        return Util::FormatZDString(newprice, closeprice, D);
    case 503:
        return price(closeprice);
    case 504:
        return price(openprice);
    case 505:
        return price(highprice);
    case 506:
        return price(lowprice);
    case 509:
        return volume(xianshou);
    case 510:
        return volume(npSellVol);
    case 511:
        return volume(minus(vol, npSellVol));
    case 527:
        return money(fundIn);
    case 528:
        return money(fundOut);
    case 529:
        return money(fundIn5);
    case 530:
        return money(fundOut5);
    case 531:
        return money(fundAmount5);
    case 532:
        return money(fundIn30);
    case 533:
        return money(fundOut30);
    case 534:
        return money(fundAmount30);
    case 535:
        return money(minus(fundIn, fundOut));
    case 536:
        return share(fundIn, fundOut, amount);
    case 537:
        return money(minus(fundIn5, fundOut5));
    case 538:
        return share(fundIn5, fundOut5, fundAmount5);
    case 539:
        return money(minus(fundIn30, fundOut30));
    case 540:
        return share(fundIn30, fundOut30, fundAmount30);
    default:
        return {};
    }
}

std::string StockQuoteInf::FormatDisplayCode(const std::string &code) {
    if (code.size() <= 2)
        return "--";
    std::string prefix = code.substr(0, 2);
    if (prefix == "SH" || prefix == "SZ" || prefix == "HK" || prefix == "OF")
        return code;
    return code.substr(2);
}

void StockBasicInf::clear() {
    double tick = updateTick;
    *this = StockBasicInf();
    updateTick = tick;
}

std::string StockBasicInf::FormatValue(int32_t fieldID, int32_t displayDigit) const {
    const int D = decimal;
    const int S = displayDigit >= 0 ? displayDigit : D;
    std::string text = StockQuoteInf::FormatValue(fieldID, S);
    if (!text.empty())
        return text;
    auto price = [&](int32_t value) { return Util::FormatPrice(float(value), D, S); };
    switch (fieldID) {
    case 501:
        return price(avePrice);
    case 507:
        return price(upStopPrice);
    case 508:
        return price(downStopPrice);
    case 512:
        return volume(position);
    case 513:
        return volume(yposition);
    case 514:
        return price(settlement);
    case 515:
        return price(ysettlement);
    case 516:
        return volume(incPosition);
    case 517:
        return volume(minus(position, yposition));
    case 518:
        return Util::FormatMarketValue(totalMarketValue, 2);
    case 519:
        if (circulatedCapital < 1)
            return "--";
        return Util::FormatPer(float(vol) / float(circulatedCapital), true);
    case 520:
        return Util::FormatMarketValue(circulatedMarketValue, 2);
    case 521:
        return Util::FormatIntValue(riseCount);
    case 522:
        return Util::FormatIntValue(fallCount);
    case 523:
        return Util::FormatIntValue(planeCount);
    case 524:
        return price(weightingAvePrice);
    case 525:
        return Util::FormatZDString(newprice, ysettlement, D);
    case 526:
        return Util::FormatZAFString(newprice, ysettlement, true);
    default:
        return {};
    }
}
