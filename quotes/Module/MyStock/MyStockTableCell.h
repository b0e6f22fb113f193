#pragma once

#include "Module/Market/StockModelCell.h"

// A 70-point trend row of the watch-list table. It has the look of the stock list's trend row
// except for its name block: name and code centred in an 80-point column, the name in yellow and
// shrunk to fit, the code in pale blue.
class MyStockTableCell : public StockModelCell {
public:
    static constexpr float NameX = 20, NameWidth = 80;

    MyStockTableCell(Style style, std::string reuseIdentifier, gfx::Rect frame);
    void layoutSubviews() override;

private:
    void placeNameBlock();
};
