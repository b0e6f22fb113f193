#pragma once

#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NewExrightItem.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"

#include <initializer_list>
#include <vector>

// A day candle with all four prices `price` (unadjusted copies set) and volume `vol`.
inline base::Ref<KLineItem> day(int time, int price, int vol = 100, int amount = 10) {
    auto c = base::make<KLineItem>();
    c->time = time;
    c->openprice = c->highprice = c->lowprice = c->closeprice = price;
    c->vol = vol;
    c->amount = amount;
    c->backupPrices();
    return c;
}

// A day candle with distinct prices.
inline base::Ref<KLineItem> day(int time, int open, int high, int low, int close, int vol) {
    auto c = base::make<KLineItem>();
    c->time = time;
    c->openprice = open;
    c->highprice = high;
    c->lowprice = low;
    c->closeprice = close;
    c->vol = vol;
    c->amount = vol * 10;
    c->backupPrices();
    return c;
}

inline base::Ref<NewExrightItem> event(int date, int give, int pei = 0, int peiPrice = 0, int profit = 0) {
    auto e = base::make<NewExrightItem>();
    e->date = date;
    e->give = give;
    e->pei = pei;
    e->peiPrice = peiPrice;
    e->profit = profit;
    return e;
}

template <class T> StockFunc::ObjectList listOf(std::initializer_list<base::Ref<T>> items) {
    return StockFunc::ObjectList(items.begin(), items.end());
}

inline KLineItem &candle(const StockFunc::ObjectList &list, size_t i) {
    return dynamic_cast<KLineItem &>(*list.at(i));
}
