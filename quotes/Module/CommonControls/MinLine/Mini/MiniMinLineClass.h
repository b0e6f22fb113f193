#pragma once

#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"

#include <string>
#include <utility>

// The bare intraday picture of a list row: a price line between a rise and a fall marker, scaled
// by the day's plain high and low, with the percentages of the scale's top and bottom beside it.
// `MiniMinLineView` draws it into an off-screen bitmap. Main thread only.
class MiniMinLineClass : public MinLineClassBase {
public:
    static constexpr float LineWidth = 1.1f;
    // Room left and right of the plot for the marker and the percentages, above and below it.
    static constexpr float LeftFrameWidth = 60, RightFrameWidth = 100, FrameHeight = 10;
    // The markers: a grey line beside the plot reaching past it, dashes across its top and bottom.
    static constexpr float AxisGap = 2, AxisOverhang = 5;
    static constexpr float Dash[] = {2, 3};
    static constexpr float LabelGap = 3, LabelWidth = 50;

    MiniMinLineClass();

    void calcRects(gfx::Rect rect);
    // The markers, then the line and the percentages when there is a snapshot and minutes.
    void draw(gfx::Context &context, gfx::Rect rect);
    // The texts of the scale's top and bottom against the previous close ("+2.00%", "0.00%");
    // empty without a snapshot.
    std::pair<std::string, std::string> rangeTexts() const;
};
