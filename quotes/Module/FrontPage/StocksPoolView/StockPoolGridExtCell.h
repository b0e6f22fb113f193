#pragma once

#include "ui/Label.h"
#include "ui/TableCell.h"

#include <cstdint>

// A row of the large pool boards: the entry date and time, name and code stacked at the left and,
// beside them, captioned values of the last price, change, gain since entry and entry price. Cell
// type 0 puts last and change on the left and entry and gain on the right in two bands; cell type
// 1 stacks gain (large), entry price, last price and change in four bands. A caption and its value
// share one frame: the caption at the left, the value right-aligned.
class StockPoolGridExtCell : public ui::TableCell {
public:
    static constexpr float LeftWidth = 80;
    static constexpr int FirstCaptionTag = 1;

    StockPoolGridExtCell(Style style, std::string reuseIdentifier, uint16_t cellType = 0);
    void setUp() override;
    void layoutSubviews() override;

    void SetCellBgColor(base::Ref<gfx::Color> color);
    // Red, green and blue from 0 to 255, alpha from 0 to 1.
    void SetCellBgColor(float red, float green, float blue, float alpha);

    uint16_t currentCellType() const { return currentCellType_; }
    ui::Label &dateTimeLabel() { return *dateTimeLabel_; }
    ui::Label &nameLabel() { return *nameLabel_; }
    ui::Label &codeLabel() { return *codeLabel_; }
    ui::Label &lastLabel() { return *lastLabel_; }
    ui::Label &rangeLabel() { return *rangeLabel_; }
    ui::Label &incomeLabel() { return *incomeLabel_; }
    ui::Label &buyValueLabel() { return *buyValueLabel_; }
    ui::Label &largeIncomeLabel() { return *largeIncomeLabel_; }
    // Caption 1 to 4: last, change, gain, entry.
    ui::Label *caption(int index) const;

private:
    base::Ref<ui::Label> addLabel(bool bold, gfx::Align alignment, const char *text);

    uint16_t currentCellType_;
    base::Ref<ui::Label> dateTimeLabel_, nameLabel_, codeLabel_, lastLabel_, rangeLabel_, incomeLabel_,
        buyValueLabel_, largeIncomeLabel_;
    base::Ref<ui::Label> captions_[4];
};
