#pragma once

#include "Module/Market/StockModelCell.h"

// A 70-point row of the board list in mini-trend mode: laid out as a stock row, without the
// information button, and its intraday picture takes taps, which the row passes to its delegate
// (the board list opens the board itself; a tap elsewhere on the row drills into it).
class BoardModelCell : public StockModelCell {
public:
    using StockModelCell::StockModelCell;
    void setUp() override;
};
