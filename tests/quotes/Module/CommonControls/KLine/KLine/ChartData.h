#pragma once

#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndexBase.h"

#include <cstdint>
#include <vector>

// Day candles and a snapshot for the chart tests: a Shanghai stock with two decimals whose price
// wanders in a fixed pattern, so that drawings and goldens repeat exactly.
namespace chartdata {

inline base::Ref<StockBasicInf> snapshot(int32_t circulatedCapital = 0) {
    auto inf = base::make<StockBasicInf>();
    inf->code = "SH600000";
    inf->name = "浦发银行";
    inf->type = 1;
    inf->decimal = 2;
    inf->circulatedCapital = circulatedCapital;
    return inf;
}

// The n-th trading day from 4 January 2012, 20 days a month.
inline int32_t dayOf(int n) {
    int month = n / 20, day = n % 20 + 4;
    return 20120000 + (1 + month % 12) * 100 + day + (month / 12) * 10000;
}

inline base::Ref<KLineItem> candle(int32_t time, int32_t open, int32_t high, int32_t low, int32_t close,
                                   int32_t vol = 1000) {
    auto item = base::make<KLineItem>();
    item->time = time;
    item->openprice = open;
    item->highprice = high;
    item->lowprice = low;
    item->closeprice = close;
    item->vol = vol;
    item->amount = vol * 10;
    item->backupPrices();
    return item;
}

inline base::Ref<KLineList> days(int count) {
    auto list = base::make<KLineList>();
    int32_t close = 1000;
    for (int i = 0; i < count; ++i) {
        const int32_t open = close;
        const int step = (i * 37) % 11 - 5;
        close = open + step * 6;
        const int32_t high = std::max(open, close) + (i * 13) % 7 * 3;
        const int32_t low = std::min(open, close) - (i * 17) % 5 * 3;
        list->push_back(candle(dayOf(i), open, high, low, close, 4000 + (i * 53) % 29 * 300));
    }
    return list;
}

// A DDX series dated like the candles.
inline base::Ref<std::vector<base::Ref<base::Object>>> ddx(int count) {
    auto series = base::make<std::vector<base::Ref<base::Object>>>();
    for (int i = 0; i < count; ++i) {
        auto item = base::make<DD_Item>();
        item->date = dayOf(i);
        item->value = float((i * 29) % 13 - 6) / 10.0f;
        series->push_back(item);
    }
    return series;
}

} // namespace chartdata
