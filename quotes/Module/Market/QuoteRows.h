#pragma once

#include "Module/Market/StockModelCell.h"

#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/GeneralCell/GeneralCell.h"

#include <array>
#include <cstdint>
#include <string>

// How the market lists write a security's quote into their rows, so that the stock, board and
// constituent lists show a record alike.
namespace QuoteRows {

// A column entry of a column list; an id below 0 leaves "ColID" out.
base::Value column(const char *name, int id, int width, bool enabled, const char *special = nullptr);

// The change a row is coloured by: none while either price is missing, so an untraded row stays
// white.
int32_t priceChange(const StockQuoteInf &record);

// The change a commodity row is coloured by: against the previous settlement, none while either
// price is missing.
int32_t settlementChange(const StockBasicInf &record);

// The banded background of column row `row`.
void fillBackground(GeneralCell &cell, int row);

// A column row: banded background, the serial number row + 1, name and code, then each column's
// field from column 2 on; latest, rise and change coloured by the change, the rise speed by itself
// where the list colours it.
void fillColumnRow(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
                   bool colourSpeed = true);

// A commodity's column row: as a security's, latest, rise and change coloured by the change against
// the previous settlement.
void fillCommodityColumnRow(GeneralCell &cell, int row, const StockBasicInf &record,
                            const base::Array &columns);

// A mini-trend row: the serial text in the left strip, name and code, latest, change and rise on
// the direction tag and the three chosen fields. The caller hands the row its picture.
void fillTrendRow(StockModelCell &cell, const std::string &serial, const StockQuoteInf &record,
                  const std::array<int32_t, 3> &rankFields);

// A commodity's mini-trend row: as a security's, the change (525) and rise (526) and the tag against
// the previous settlement.
void fillCommodityTrendRow(StockModelCell &cell, const std::string &serial, const StockBasicInf &record,
                           const std::array<int32_t, 3> &rankFields);

} // namespace QuoteRows
