#include "ChartMinLineClass.h"

ChartMinLineClass::ChartMinLineClass() {
    m_priceLineWidth = LineWidth;
}

void ChartMinLineClass::draw(gfx::Context &context, gfx::Rect rtChart, const gfx::Color &clPriceLine) {
    if (!hasData())
        return;
    drawMinVolLine(context, rtChart, clPriceLine);
}
