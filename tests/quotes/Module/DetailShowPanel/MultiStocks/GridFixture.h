#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Value.h"

#include <string>

namespace grid {

// A list entry as owners hand them to the grid: a code and, when given, the record of its quote.
inline base::Dict entry(const std::string &code, base::Ref<StockQuoteInf> record = nullptr) {
    base::Dict d{{"MarketCode", code}};
    if (record)
        d.set("basicInf", record);
    return d;
}

inline base::Ref<StockQuoteInf> record(const std::string &code, double updateTick = 0) {
    auto r = base::make<StockQuoteInf>();
    r->code = code;
    r->name = "名" + code;
    r->decimal = 2;
    r->closeprice = 1000;
    r->newprice = 1050;
    r->updateTick = updateTick;
    return r;
}

// `count` entries "C0", "C1", … with records stamped at `updateTick`.
inline base::Array entries(int count, double updateTick = 0) {
    base::Array list;
    for (int i = 0; i < count; ++i) {
        const std::string code = "C" + std::to_string(i);
        list.add(entry(code, record(code, updateTick)));
    }
    return list;
}

} // namespace grid
