#pragma once

#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"

// The thin price line of a comparison stock laid over the full intraday chart. `MinLineView`
// makes one per comparison record, hands it the record's snapshot and minutes, gives it the scale
// shared with the main chart and draws it into the main chart's plot in the record's colour,
// with its title along the top strip (`drawAddStockText`). Main thread only.
class ChartMinLineClass : public MinLineClassBase {
public:
    static constexpr float LineWidth = 1.2f;

    ChartMinLineClass();

    // The price line across the rectangle, placed by this stock's own sessions; nothing without
    // a snapshot and minutes.
    void draw(gfx::Context &context, gfx::Rect rtChart, const gfx::Color &clPriceLine);
};
