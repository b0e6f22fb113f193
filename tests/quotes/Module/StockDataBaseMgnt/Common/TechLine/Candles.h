#pragma once

#include "TechIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <vector>

// Candle lists for the indicator tests: prices are the scaled integers of the quote records.
namespace candles {

struct Bar {
    int32_t high, low, close;
};

inline base::Ref<KLineItem> candle(int32_t time, int32_t open, int32_t high, int32_t low, int32_t close,
                                   int32_t vol = 1000) {
    auto item = base::make<KLineItem>();
    item->time = time;
    item->openprice = open;
    item->highprice = high;
    item->lowprice = low;
    item->closeprice = close;
    item->vol = vol;
    item->backupPrices();
    return item;
}

// Flat candles (open = high = low = close) dated 1, 2, 3, ...
inline base::Ref<KLineList> closes(std::initializer_list<int32_t> prices) {
    auto list = base::make<KLineList>();
    int32_t time = 1;
    for (int32_t price : prices)
        list->push_back(candle(time++, price, price, price, price));
    return list;
}

inline base::Ref<KLineList> flat(int count, int32_t price) {
    auto list = base::make<KLineList>();
    for (int i = 0; i < count; ++i)
        list->push_back(candle(i + 1, price, price, price, price));
    return list;
}

inline base::Ref<KLineList> bars(std::initializer_list<Bar> items) {
    auto list = base::make<KLineList>();
    int32_t time = 1;
    for (const Bar &bar : items)
        list->push_back(candle(time++, bar.close, bar.high, bar.low, bar.close));
    return list;
}

inline base::Ref<KLineList> series(int count, int32_t (*price)(int)) {
    auto list = base::make<KLineList>();
    for (int i = 0; i < count; ++i)
        list->push_back(candle(i + 1, price(i), price(i) + 5, price(i) - 5, price(i)));
    return list;
}

// Candles whose closes wander by up to 30 and whose highs and lows lie up to 20 around them.
inline base::Ref<KLineList> noisyBars(int count, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> move(-30, 30), range(0, 20);
    auto list = base::make<KLineList>();
    int32_t close = 1000;
    for (int i = 0; i < count; ++i) {
        close = std::max(50, close + move(random));
        list->push_back(candle(i + 1, close, close + range(random), close - range(random), close));
    }
    return list;
}

inline base::Array paramList(std::initializer_list<int> values) {
    base::Array list;
    for (int v : values)
        list.add(base::Dict{{"Parameter", v}});
    return list;
}

// A fresh indicator with explicit parameters, computed over the list.
inline base::Ref<TechIndex> computed(int32_t type, std::initializer_list<int> params,
                                     const base::Ref<KLineList> &list, int digits = 2) {
    int32_t techClass =
        type == TechIndex::MA || type == TechIndex::BOLL ? TechIndex::MainClass : TechIndex::SubClass;
    auto tech = base::make<TechIndex>(type, techClass);
    if (params.size())
        tech->setTechType(type, paramList(params));
    tech->calculate(list, digits);
    return tech;
}

inline TechLineSubItem sub(const TechIndex &tech, int candle, int output) {
    auto item = tech.getItem(candle);
    if (!item || !item->getSubItem(output)) {
        ADD_FAILURE() << "no value " << output << " at candle " << candle;
        return {};
    }
    return *item->getSubItem(output);
}

} // namespace candles
