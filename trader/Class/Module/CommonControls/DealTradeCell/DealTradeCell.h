#pragma once

#include "Class/Module/CommonControls/TradeRowCell/TradeRowCell.h"

// One deal of the deal panel, 60 points high: the serial number down the left edge; name and code
// in the left third; the deal type and date in the middle third; the deal price and volume in the
// right third; the direction in a pale strip along the bottom. No button: a deal cannot be acted on.
class DealTradeCell : public TradeRowCell {
public:
    static constexpr float kStripHeight = 15;

    using TradeRowCell::TradeRowCell;
    void layoutSubviews() override;
    void LayoutFields(gfx::Rect rect);

    base::Ref<ui::Label> NOLabel, nameLabel, codeLabel, stateLabel, dateLabel, dealTypeLabel;
    base::Ref<ui::Label> dealPriceTag, dealPriceLabel, dealVolTag, dealVolLabel;

protected:
    void initUI() override;
};
