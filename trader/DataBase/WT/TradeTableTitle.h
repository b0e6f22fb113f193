#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <optional>
#include <string>
#include <vector>

// One column the gateway defines for a reply: a trade field tag in decimal and its caption.
struct TradeColumnInfo {
    std::string columnID;
    std::string columnName;
    bool operator==(const TradeColumnInfo &) const = default;
};

// The columns of one reply, from a title text "funcID,count,id=name,id=name,…".
class TradeTableTitle : public base::Object {
public:
    // Replaces the content with the parsed text. Empty items and items without "=" are skipped;
    // an item with several "=" keeps its first two parts.
    void ParseTitleStr(const std::string &text);

    int reqType() const { return m_reqType; }
    int columnCount() const { return m_columnCount; }
    const std::vector<TradeColumnInfo> &columnArray() const { return m_columnArray; }

private:
    int m_reqType = 0;
    int m_columnCount = 0;
    std::vector<TradeColumnInfo> m_columnArray;
};

// The column titles of the current login, in the order of the login reply's rows.
class TradeTableTitleGroup : public base::Object {
public:
    static constexpr int kColumnWidth = 120;

    void clear() { m_tableTitleArray.clear(); }
    // Rebuilds the titles from the rows that carry a title text ("1326").
    void LoadFromRspArray(const base::Array &rows);

    // The first title of that reply id, or none.
    base::Ref<TradeTableTitle> getTableTitle(int reqType) const;
    std::optional<std::vector<TradeColumnInfo>> getTableColumnArray(int reqType) const;
    const std::vector<base::Ref<TradeTableTitle>> &tableTitleArray() const { return m_tableTitleArray; }

    // Both the stock code ("1036") and the stock name ("1037") are among the columns.
    static bool existStockCodeAndName(const std::vector<TradeColumnInfo> &columns);

    // Appends the column entries of the success reply of request `reqType` to `columns`, whose
    // index 0 the caller has already filled with its row-number column. Code and name, when both
    // present, merge into one "CodeAndName" column at index 1. Each column adds its width.
    void AddToColumnArray(base::Array &columns, int reqType, float &tableWidth) const;
    // Appends one reply row's cells for columns 1 on (column 0 is the caller's row number).
    static void AddToCellArray(base::Array &cells, const base::Array &columns, const base::Dict &row);

private:
    std::vector<base::Ref<TradeTableTitle>> m_tableTitleArray;
};
