#pragma once

#include "Class/Module/CommonControls/TradeRowCell/TradeRowCell.h"

#include "base/Value.h"

// One past transfer of the history, 64 points high: the bank's name over its date and time at the
// left, currency over amount in the middle, the business text and the state at the right, and the
// info line with the bank's serial number in a pale strip along the bottom.
class TransferCell : public TradeRowCell {
public:
    static constexpr float kHeight = 64, kInfoHeight = 16;
    static constexpr const char *kReuseIdentifier = "genneralCell";

    explicit TransferCell(std::string reuseIdentifier);
    void setUp() override;
    void layoutSubviews() override;

    // Fills the eight labels from a history row; a field the row lacks shows empty.
    void fill(const base::Dict &row);

    base::Ref<ui::Label> nameLabel, dateLabel, timeLabel, currencyLabel, amountLabel, busiLabel, infoLabel,
        stateLabel;

private:
    void initUI();
};
