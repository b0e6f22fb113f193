#include "Module/Market/BoardModelCell.h"

void BoardModelCell::setUp() {
    StockModelCell::setUp();
    infoButton().setHidden(true);
    MiniMinLineImageView &trend = *miniImageView();
    trend.userInteractionEnabled = true;
    trend.delegate = weakSelf<BoardModelCell>();
}
