#include "DataBase/WT/TradeTableTitle.h"

#include "base/Str.h"

namespace {

const char *const kCodeTag = "1036";
const char *const kNameTag = "1037";
const char *const kMergedColumn = "CodeAndName";

base::Dict columnEntry(const std::string &name, const std::string &id) {
    return base::Dict{{"ColName", name},
                      {"ColID", id},
                      {"ColWidth", TradeTableTitleGroup::kColumnWidth},
                      {"Enabled", false}};
}

} // namespace

void TradeTableTitle::ParseTitleStr(const std::string &text) {
    m_reqType = 0;
    m_columnCount = 0;
    m_columnArray.clear();
    std::vector<std::string> items = base::str::split(text, ",");
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string &item = items[i];
        if (item.empty())
            continue;
        if (i == 0) {
            m_reqType = base::str::toInt(item);
        } else if (i == 1) {
            m_columnCount = base::str::toInt(item);
        } else {
            std::vector<std::string> parts = base::str::split(item, "=");
            if (parts.size() >= 2)
                m_columnArray.push_back({parts[0], parts[1]});
        }
    }
}

void TradeTableTitleGroup::LoadFromRspArray(const base::Array &rows) {
    clear();
    for (const base::Value &row : rows) {
        const base::Value *text = row.dict() ? row.dict()->find("1326") : nullptr;
        if (!text || !text->string())
            continue;
        auto title = base::make<TradeTableTitle>();
        title->ParseTitleStr(*text->string());
        m_tableTitleArray.push_back(title);
    }
}

base::Ref<TradeTableTitle> TradeTableTitleGroup::getTableTitle(int reqType) const {
    for (const auto &title : m_tableTitleArray)
        if (title->reqType() == reqType)
            return title;
    return nullptr;
}

std::optional<std::vector<TradeColumnInfo>> TradeTableTitleGroup::getTableColumnArray(int reqType) const {
    auto title = getTableTitle(reqType);
    if (!title)
        return std::nullopt;
    return title->columnArray();
}

bool TradeTableTitleGroup::existStockCodeAndName(const std::vector<TradeColumnInfo> &columns) {
    bool code = false, name = false;
    for (const auto &column : columns) {
        code = code || column.columnID == kCodeTag;
        name = name || column.columnID == kNameTag;
    }
    return code && name;
}

void TradeTableTitleGroup::AddToColumnArray(base::Array &columns, int reqType, float &tableWidth) const {
    auto title = getTableTitle(reqType + 1);
    if (!title)
        return;
    bool merge = existStockCodeAndName(title->columnArray());
    for (const auto &column : title->columnArray()) {
        if (merge && (column.columnID == kCodeTag || column.columnID == kNameTag))
            continue;
        columns.add(columnEntry(column.columnName, column.columnID));
        tableWidth += kColumnWidth;
    }
    if (merge) {
        base::Dict entry = columnEntry(" 名称", kMergedColumn);
        entry.set("SpecialName", "NAME");
        columns.insert(1, entry);
        tableWidth += kColumnWidth;
    }
}

void TradeTableTitleGroup::AddToCellArray(base::Array &cells, const base::Array &columns,
                                          const base::Dict &row) {
    for (size_t i = 1; i < columns.size(); ++i) {
        std::string id = columns[i]["ColID"].stringValue();
        if (id.empty())
            continue;
        if (id != kMergedColumn) {
            cells.add(row.get(id).stringValue());
            continue;
        }
        // A missing name leaves the cell empty, a missing code leaves out only the code.
        base::Dict cell;
        if (const base::Value *name = row.find(kNameTag)) {
            cell.set("StockName", *name);
            if (const base::Value *code = row.find(kCodeTag))
                cell.set("StockCode", *code);
        }
        cells.add(cell);
    }
}
