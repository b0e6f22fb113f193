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

void fillColumnRow(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
                   bool colourSpeed) {
    fillBackground(cell, row);
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", record.name}, {"StockCode", record.getDisplayCode()}}};
    for (size_t i = 2; i < columns.size(); ++i)
        values.add(record.FormatValue(int32_t(columns[i]["ColID"].intValue())));
    cell.SetValueArray(values);
    for (int index : ChangeColumns)
        cell.SetTextColorAtIndex(index, priceChange(record));
    if (colourSpeed)
        cell.SetTextColorAtIndex(SpeedColumn, record.IncreaseSPD);
}

void fillTrendRow(StockModelCell &cell, const std::string &serial, const StockQuoteInf &record,
                  const std::array<int32_t, 3> &rankFields) {
    cell.StockNameLabel().setText(record.name);
    cell.StockCodeLabel().setText(record.getDisplayCode());
    cell.marketCode = record.code;
    cell.stockName = record.name;
    cell.SNLabel().setText(serial);
    cell.UpDownLabel().setText(record.FormatValue(502));
    cell.RangeLabel().setText(record.FormatValue(1));
    cell.LastLabel().setText(record.FormatValue(4));
    for (int i = 0; i < 3; ++i)
        cell.valueLabel(i).setText(record.FormatValue(rankFields[size_t(i)]));
    cell.setUpDownMarkImage(float(record.newprice > 0 ? record.newprice - record.closeprice : 0));
}

} // namespace QuoteRows
