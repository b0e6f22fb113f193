#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

// The price strip over each chart of the multi-stock grid: the name and code on the left, the
// change percentage over the last price, an arrow of the day's direction, and turnover and volume
// with their captions. Fonts of the name and the values scale with the width, so the strip reads
// the same in two, three or more columns. `MultiStocksGridView` owns one per cell.
class MultiStocksGridPricePanel : public ui::View {
public:
    static constexpr float ArrowSize = 25;
    // The arrow starts this far left of the value columns' edge.
    static constexpr float ArrowOverlap = 10;

    explicit MultiStocksGridPricePanel(gfx::Rect frame = {});

    void layoutSubviews() override;
    // The change against the previous close: rise red with "up.png", fall green with "down.png",
    // none white with "equal.png", on the last price and the percentage only; NaN changes nothing.
    void SetUpDown(float change);

    base::Ref<ui::Label> nameLabel, codeLabel, lastLabel, rangeLabel, exchangeNameLabel, exchangeLabel,
        volNameLabel, volLabel;
    base::Ref<ui::ImageView> upDownImgView;
    // The cell's full security code (the label shows it as lists do).
    std::string code;
    float nameFontSize = 0, lastFontSize = 0;
};
