#include "Module/Market/QuoteRows.h"

namespace QuoteRows {

namespace {

// Columns coloured by the price change, and the one coloured by the rise speed.
constexpr int ChangeColumns[] = {2, 3, 4};
constexpr int SpeedColumn = 9;

base::Ref<gfx::Color> rgb(float r, float g, float b) {
    return gfx::Color::rgba(r / 255, g / 255, b / 255);
}

} // namespace

base::Value column(const char *name, int id, int width, bool enabled, const char *special) {
    base::Dict entry{{"ColName", name}, {"ColWidth", width}, {"Enabled", enabled}};
    if (id >= 0)
        entry.set("ColID", id);
    if (special)
        entry.set("SpecialName", special);
    return entry;
}

int32_t priceChange(const StockQuoteInf &record) {
    return record.newprice > 0 && record.closeprice > 0 ? record.newprice - record.closeprice : 0;
}

void fillBackground(GeneralCell &cell, int row) {
    if (row % 2 == 0)
        cell.SetCellBgColor(rgb(12, 33, 51));
    else
        cell.SetCellBgColor(rgb(14, 21, 26));
}

namespace {

// Background, serial, name and code, and each column's field from column 2 on, the change columns
// coloured by `change`.
void fillColumns(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
                 int32_t change) {
    fillBackground(cell, row);
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", record.name}, {"StockCode", record.getDisplayCode()}}};
    for (size_t i = 2; i < columns.size(); ++i)
        values.add(record.FormatValue(int32_t(columns[i]["ColID"].intValue())));
    cell.SetValueArray(values);
    for (int index : ChangeColumns)
        cell.SetTextColorAtIndex(index, change);
}

// Name, code, serial, latest, the change and rise fields, the three chosen fields and the tag by
// `change`.
void fillTrend(StockModelCell &cell, const std::string &serial, const StockQuoteInf &record,
               const std::array<int32_t, 3> &rankFields, int32_t changeField, int32_t riseField,
               float change) {
    cell.StockNameLabel().setText(record.name);
    cell.StockCodeLabel().setText(record.getDisplayCode());
    cell.marketCode = record.code;
    cell.stockName = record.name;
    cell.SNLabel().setText(serial);
    cell.UpDownLabel().setText(record.FormatValue(changeField));
    cell.RangeLabel().setText(record.FormatValue(riseField));
    cell.LastLabel().setText(record.FormatValue(4));
    for (int i = 0; i < 3; ++i)
        cell.valueLabel(i).setText(record.FormatValue(rankFields[size_t(i)]));
    cell.setUpDownMarkImage(change);
}

} // namespace

int32_t settlementChange(const StockBasicInf &record) {
    return record.newprice > 0 && record.ysettlement > 0 ? record.newprice - record.ysettlement : 0;
}

void fillColumnRow(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
                   bool colourSpeed) {
    fillColumns(cell, row, record, columns, priceChange(record));
    if (colourSpeed)
        cell.SetTextColorAtIndex(SpeedColumn, record.IncreaseSPD);
}

void fillCommodityColumnRow(GeneralCell &cell, int row, const StockBasicInf &record,
                            const base::Array &columns) {
    fillColumns(cell, row, record, columns, settlementChange(record));
}

void fillTrendRow(StockModelCell &cell, const std::string &serial, const StockQuoteInf &record,
                  const std::array<int32_t, 3> &rankFields) {
    fillTrend(cell, serial, record, rankFields, 502, 1,
              float(record.newprice > 0 ? record.newprice - record.closeprice : 0));
}

void fillCommodityTrendRow(StockModelCell &cell, const std::string &serial, const StockBasicInf &record,
                           const std::array<int32_t, 3> &rankFields) {
    fillTrend(cell, serial, record, rankFields, 525, 526,
              float(record.newprice > 0 ? record.newprice - record.ysettlement : 0));
}

} // namespace QuoteRows
