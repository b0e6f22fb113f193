#pragma once

#include "Module/Market/StockModelCell.h"

#include "ui/ImageView.h"
#include "ui/Label.h"

// A 70-point row of the currency list: a stock row without the serial strip and the information
// button, showing the pair's latest price, change and rise on the direction tag, and its previous
// close, open and amplitude. It keeps the table's selection highlight.
class CurrModelCell : public StockModelCell {
public:
    CurrModelCell(Style style, std::string reuseIdentifier, gfx::Rect frame);
    void setUp() override;
};

// The US dollar index tile above the currency list: name and code on the left, the latest price
// coloured by the direction with the change and rise on the direction tag, below a divider the
// previous close, open and amplitude under their captions, and the index's intraday picture on the
// right. The tile is 12 points shorter than its row, so that a gap parts it from the list.
class CurrTileCell : public ModelCellBaseView {
public:
    static constexpr float BottomGap = 12;

    CurrTileCell(Style style, std::string reuseIdentifier, gfx::Rect frame);
    void layoutSubviews() override;

    // Red tag, up arrow and red price above 0, green and down arrow below, white without arrow at 0.
    void setUpDownMarkImage(float change);
    // A clear label of that colour, alignment and font, added to the tile.
    base::Ref<ui::Label> GenerateValueLabel(base::Ref<gfx::Color> color, gfx::Align alignment,
                                            base::Ref<gfx::Font> font);

    ui::Label &StockNameLabel() { return *m_stockNameLabel; }
    ui::Label &StockCodeLabel() { return *m_stockCodeLabel; }
    ui::Label &UpDownLabel() { return *m_upDownLabel; }
    ui::Label &RangeLabel() { return *m_rangeLabel; }
    ui::Label &LastLabel() { return *m_lastLabel; }
    ui::Label &valueLabel(int index) { return *m_valueLabels[index]; }
    ui::Label &valueLabelName(int index) { return *m_valueLabelNames[index]; }
    ui::ImageView &upDownTagImageView() { return *m_upDownTagImageView; }
    ui::ImageView &upDownArrowImageView() { return *m_upDownArrowImageView; }

private:
    void makeViews();
    void initUI(gfx::Rect rect);

    base::Ref<ui::Label> m_stockNameLabel, m_stockCodeLabel, m_upDownLabel, m_rangeLabel, m_lastLabel;
    base::Ref<ui::Label> m_valueLabels[3], m_valueLabelNames[3];
    base::Ref<ui::ImageView> m_cellBackgroundView, m_upDownTagImageView, m_devideLineImageView,
        m_upDownArrowImageView;
};
