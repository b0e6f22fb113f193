#pragma once

#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"

#include <string>
#include <vector>

// The small intraday chart of the home page's index banners: a framed plot with four grid
// intervals, session lines and times below, price and average lines, and a percentage axis on
// the right. `SmallMinLineView` owns one and draws it into its bounds. Main thread only.
class SmallMinLineClass : public MinLineClassBase {
public:
    static constexpr int32_t HorLineCount = 4;
    static constexpr int TimeFontSize = 13, LabelFontSize = 13;
    static constexpr int DrawStep = 4;
    static constexpr float LineWidth = 1.2f;
    static constexpr float RightFrameWidth = 43, TopFrameHeight = 2, BottomFrameHeight = 16;
    static constexpr float TimeLabelWidth = 60;

    SmallMinLineClass();

    void calcRects(gfx::Rect rect);
    // Axis, then the lines and the percentages when there is a snapshot and minutes.
    void draw(gfx::Context &context, gfx::Rect rect);

    struct RangeLabel {
        std::string text;
        base::Ref<gfx::Color> color;
        float top = 0;
    };
    // The percentages of the scale's top, grid lines and bottom for the last layout.
    std::vector<RangeLabel> rangeLabels() const;

private:
    void drawAxis(gfx::Context &context);

    int32_t m_nHorLineCount_Min = HorLineCount;
    base::Ref<gfx::Font> m_timeFont;
    float m_timeFontH = 0;
};
