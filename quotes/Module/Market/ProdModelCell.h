#pragma once

#include "Module/Market/StockModelCell.h"

// A 70-point row of the commodity list in mini-trend mode: laid out as a stock row without the
// information button, the latest price centred; the change and rise are against the previous
// settlement.
class ProdModelCell : public StockModelCell {
public:
    using StockModelCell::StockModelCell;
    void setUp() override;
};
