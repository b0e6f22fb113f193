#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Object.h"

#include <cstdint>
#include <string>
#include <vector>

// The context of one local sort of quote records: the column by its title and its display field
// id, and the direction. The watch-list sorts with it when the set was fetched moments ago.
class SortContent : public base::Object {
public:
    static constexpr int32_t Ascending = 1;

    const std::string &title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    int32_t sortId() const { return m_sortId; }
    void setSortId(int32_t id) { m_sortId = id; }
    // 1 ascending; any other value descending.
    int32_t orderStatu() const { return m_orderStatu; }
    void setOrderStatu(int32_t order) { m_orderStatu = order; }

    // Sorts `records` stably by the column. Under the rise and amplitude columns the records whose
    // ratio has no value (close or low below 1) go after the others, in their order; a column not
    // known keeps the order.
    void sort(std::vector<base::Ref<StockQuoteInf>> &records) const;

private:
    std::string m_title;
    int32_t m_sortId = 0;
    int32_t m_orderStatu = 0;
};

// −1 when `a` sorts before `b` in the context's column and direction, 1 when after, 0 when the
// keys are equal or the column is not known. The first row of the key table whose title or id
// matches picks the key; the rise and amplitude ratios compare equal when either has no value.
int compareStockBasicInf(const StockQuoteInf &a, const StockQuoteInf &b, const SortContent &context);
