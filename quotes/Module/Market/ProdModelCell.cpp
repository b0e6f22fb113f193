#include "Module/Market/ProdModelCell.h"

void ProdModelCell::setUp() {
    StockModelCell::setUp();
    infoButton().setHidden(true);
    LastLabel().setTextAlignment(gfx::Align::Center);
}
