#pragma once

#include "Class/Module/CommonControls/TradeRowCell/TradeRowCell.h"

// Hears the cancel button of an order row; optional.
class EntrustTradeCellDelegate {
public:
    virtual ~EntrustTradeCellDelegate() = default;
    virtual base::Opt<void> ReturnWithDrawAction(ui::Button *button, ui::IndexPath indexPath) {
        (void)button, (void)indexPath;
        return base::notImplemented;
    }
};

// One order of the order panel, 85 points high: the serial number down the left edge; name, code
// and the cancel button ("撤单") in the left third; direction, time and date in the middle third;
// entrust price, average deal price, entrust volume and deal volume as caption-value lines in the
// right third; the order's state in a pale strip along the bottom. The owner decides whether the
// cancel button shows.
class EntrustTradeCell : public TradeRowCell {
public:
    static constexpr float kStripHeight = 15;

    using TradeRowCell::TradeRowCell;
    void layoutSubviews() override;
    void LayoutFields(gfx::Rect rect);
    void withDrawAction();

    base::Weak<EntrustTradeCellDelegate> delegate;
    base::Ref<ui::Label> NOLabel, nameLabel, codeLabel, buySellLabel, stateLabel, dateLabel, timeLabel;
    base::Ref<ui::Label> entPriceTag, entPriceLabel, dealPriceTag, dealPriceLabel;
    base::Ref<ui::Label> entrustVolTag, entrustVolLabel, dealVolTag, dealVolLabel;
    base::Ref<ui::Button> withDrawBtn;

protected:
    void initUI() override;

private:
};
