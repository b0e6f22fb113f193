#pragma once

#include "Class/Module/CommonControls/TradeRowCell/TradeRowCell.h"

// Hears the sell button of a holding row; optional.
class AccountCellDelegate {
public:
    virtual ~AccountCellDelegate() = default;
    virtual base::Opt<void> SellBtnAction(ui::Button *button, ui::IndexPath indexPath) {
        (void)button, (void)indexPath;
        return base::notImplemented;
    }
};

// One holding of the funds panel, 70 points high: the serial number down the left edge; name over
// code, then the latest price; security, frozen and sellable volume and the cost price as
// caption-value lines; the sell button ("卖") down the right edge.
class AccountCell : public TradeRowCell {
public:
    static constexpr float kSellWidth = 20;

    explicit AccountCell(std::string reuseIdentifier)
        : TradeRowCell(std::move(reuseIdentifier), Selection::Blue) {}
    void layoutSubviews() override;
    void SellAction();

    base::Weak<AccountCellDelegate> delegate;
    base::Ref<ui::Label> noLabel, nameLabel, codeLabel, valueLabel, amountLabel, blockLabel, costLabel,
        sellLabel;
    ui::Button &sellBtn() { return *m_sellBtn; }

protected:
    void initUI() override;

private:
    base::Ref<ui::Label> m_amountTagLabel, m_blockTagLabel, m_costTagLabel, m_sellTagLabel;
    base::Ref<ui::Button> m_sellBtn;
};
