#include "Module/StockDataBaseMgnt/SortContent.h"

#include "Common/Util.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

enum class Key { Code, Integer, Rise, Amplitude };

struct Column {
    const char *title;
    int32_t id;
    Key key;
    int64_t (*field)(const StockQuoteInf &);
};

#define QV_FIELD(name) [](const StockQuoteInf &r) { return int64_t(r.name); }

// In order of precedence: the first row whose title or id matches is the key.
const std::array<Column, 23> Columns{{
    {"代码", 9, Key::Code, nullptr},
    {"最新", 4, Key::Integer, QV_FIELD(newprice)},
    {"涨幅", 1, Key::Rise, nullptr},
    {"成交量", 2, Key::Integer, QV_FIELD(vol)},
    {"成交额", 3, Key::Integer, QV_FIELD(amount)},
    {"振幅", 22, Key::Amplitude, nullptr},
    {"涨速", 25, Key::Integer, QV_FIELD(IncreaseSPD)},
    {"量比", 20, Key::Integer, QV_FIELD(liangbi)},
    {"委比", 26, Key::Integer, QV_FIELD(weibi)},
    {"换手", 21, Key::Integer, QV_FIELD(huanshou)},
    {"市盈率", 23, Key::Integer, QV_FIELD(shiyingRate)},
    {"市净率", 24, Key::Integer, QV_FIELD(shijingRate)},
    {"7日涨幅", 5, Key::Integer, QV_FIELD(riseRate7)},
    {"7日换手率", 6, Key::Integer, QV_FIELD(transpRate7)},
    {"30日涨幅", 7, Key::Integer, QV_FIELD(riseRate30)},
    {"30日换手率", 8, Key::Integer, QV_FIELD(transpRate30)},
    {"当日DDX", 10, Key::Integer, QV_FIELD(ddx1)},
    {"当日DDY", 11, Key::Integer, QV_FIELD(ddy1)},
    {"当日DDZ", 12, Key::Integer, QV_FIELD(ddz1)},
    {"60日DDX", 13, Key::Integer, QV_FIELD(ddx60)},
    {"60日DDY", 14, Key::Integer, QV_FIELD(ddy60)},
    {"10日飘红天数", 15, Key::Integer, QV_FIELD(redCount)},
    {"10日连续飘红", 16, Key::Integer, QV_FIELD(redEvenCount)},
}};

#undef QV_FIELD

const Column *columnOf(const SortContent &context) {
    for (const Column &column : Columns)
        if (context.title() == column.title || context.sortId() == column.id)
            return &column;
    return nullptr;
}

// The ratio of a rise or amplitude column; none when the divisor is below 1.
std::optional<float> ratio(const StockQuoteInf &r, Key key) {
    int32_t top = key == Key::Rise ? r.newprice : r.highprice;
    int32_t bottom = key == Key::Rise ? r.closeprice : r.lowprice;
    if (bottom < 1)
        return std::nullopt;
    return float(top) / float(bottom);
}

template <class T> int ascending(const T &a, const T &b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The comparison in ascending order.
int compareAscending(const StockQuoteInf &a, const StockQuoteInf &b, const Column &column) {
    switch (column.key) {
    case Key::Code:
        return ascending(Util::getNumCode(a.code), Util::getNumCode(b.code));
    case Key::Integer:
        return ascending(column.field(a), column.field(b));
    case Key::Rise:
    case Key::Amplitude: {
        auto x = ratio(a, column.key), y = ratio(b, column.key);
        return x && y ? ascending(*x, *y) : 0;
    }
    }
    return 0;
}

} // namespace

int compareStockBasicInf(const StockQuoteInf &a, const StockQuoteInf &b, const SortContent &context) {
    const Column *column = columnOf(context);
    if (!column)
        return 0;
    int result = compareAscending(a, b, *column);
    return context.orderStatu() == SortContent::Ascending ? result : -result;
}

void SortContent::sort(std::vector<base::Ref<StockQuoteInf>> &records) const {
    const Column *column = columnOf(*this);
    if (!column)
        return;
    // The pairwise answer treats a record without a ratio as equal to every other, which is no
    // ordering at all; such records are set apart so that the sort sees a consistent order.
    auto valued = std::stable_partition(records.begin(), records.end(), [&](const auto &r) {
        return column->key == Key::Code || column->key == Key::Integer || ratio(*r, column->key).has_value();
    });
    std::stable_sort(records.begin(), valued,
                     [&](const auto &a, const auto &b) { return compareStockBasicInf(*a, *b, *this) < 0; });
}
