#include "Module/DetailShowPanel/StockDetailViewController/StockDetailValues.h"

#include "Common/Util.h"

#include <initializer_list>

namespace StockDetailValues {
namespace {

std::vector<std::string> formatted(const StockBasicInf &record, std::initializer_list<int32_t> ids) {
    std::vector<std::string> values;
    for (int32_t id : ids)
        values.push_back(record.FormatValue(id));
    return values;
}

std::string bid(const StockBasicInf &record) {
    return Util::FormatPrice(record.buyPrice[0], record.decimal);
}

std::string ask(const StockBasicInf &record) {
    return Util::FormatPrice(record.sellPrice[0], record.decimal);
}

} // namespace

const std::vector<std::string> &fieldNames(int mode) {
    static const std::vector<std::string> stock{"换手", "量比", "总额", "总手", "内盘", "外盘"};
    static const std::vector<std::string> index{"总额", "市值", "昨收", "今开", "最高", "最低"};
    static const std::vector<std::string> future{"振幅", "今开", "最高", "现手", "最低", "总额"};
    static const std::vector<std::string> openFund(6, "");
    static const std::vector<std::string> currency{"今开", "昨收", "最高", "最低", "买入", "卖出"};
    switch (mode) {
    case 1:
    case 5:
        return index;
    case 2:
        return future;
    case 3:
        return openFund;
    case 4:
        return currency;
    default:
        return stock;
    }
}

std::vector<std::string> headerValues(int mode, const StockBasicInf &record) {
    switch (mode) {
    case 0:
        return formatted(record, {519, 20, 3, 2, 510, 511});
    case 1:
    case 5:
        if (mode == 1 && record.type != 0)
            return {};
        return formatted(record, {3, 518, 503, 504, 505, 506});
    case 2:
        if (!Util::isQHType(record.type))
            return {};
        return formatted(record, {22, 504, 505, 509, 506, 3});
    case 4: {
        std::vector<std::string> values = formatted(record, {504, 503, 505, 506});
        values.push_back(bid(record));
        values.push_back(ask(record));
        return values;
    }
    default:
        return {};
    }
}

PanelValues panelValues(int mode, const StockBasicInf &r) {
    const int latest = r.newprice - r.closeprice, open = r.openprice - r.closeprice;
    const int high = r.highprice - r.closeprice, low = r.lowprice - r.closeprice;
    switch (mode) {
    case 0:
        return {formatted(r, {4, 501, 502, 519, 1, 504, 2, 505, 509, 506, 3, 20, 507, 508, 510, 511}),
                {{0, latest},
                 {1, r.avePrice - r.closeprice},
                 {2, latest},
                 {4, latest},
                 {5, open},
                 {7, high},
                 {9, low},
                 {12, 1},
                 {13, -1},
                 {14, 1},
                 {15, -1}}};
    case 1:
        return {formatted(r, {2, 3, 501, 524, 521, 523, 522, 520}), {}};
    case 2: {
        const int settled = r.newprice - r.ysettlement;
        return {formatted(r, {512, 514, 516, 515, 517, 2, 507, 508}),
                {{0, settled}, {1, settled}, {2, settled}, {3, settled}, {4, 1}, {5, -1}}};
    }
    case 4: {
        std::vector<std::string> values = formatted(r, {4, 502, 1, 503, 504, 505, 506});
        values.push_back(bid(r));
        values.push_back(ask(r));
        values.push_back(r.FormatValue(501));
        return {values,
                {{0, latest},
                 {1, latest},
                 {2, latest},
                 {4, open},
                 {5, high},
                 {6, low},
                 {7, r.buyPrice[0] - r.closeprice},
                 {8, r.sellPrice[0] - r.closeprice},
                 {9, r.avePrice - r.closeprice}}};
    }
    case 5: {
        std::vector<std::string> values = formatted(r, {4, 502, 1, 503, 504, 505, 506, 2, 3});
        values.insert(values.end(), 4, "--");
        return {values, {{0, latest}, {1, latest}, {2, latest}, {4, open}, {5, high}, {6, low}}};
    }
    default:
        return {};
    }
}

} // namespace StockDetailValues
