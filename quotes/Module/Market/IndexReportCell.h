#pragma once

#include "Module/Market/ModelCellBaseView.h"

#include "ui/ImageView.h"
#include "ui/Label.h"

// A 70-point row of the index tab: a strip and a tag coloured by the direction, name and code,
// the latest value, change and rise, volume and amount, and the index's intraday picture.
class IndexReportCell : public ModelCellBaseView {
public:
    IndexReportCell(Style style, std::string reuseIdentifier, gfx::Rect frame);

    void layoutSubviews() override;
    // Red strip, tag and up arrow above 0, green and down arrow below, white without arrow at 0.
    void setUpDownMarkImage(float change);

    ui::Label &StockNameLabel() { return *m_stockNameLabel; }
    ui::Label &StockCodeLabel() { return *m_stockCodeLabel; }
    ui::Label &UpDownLabel() { return *m_upDownLabel; }
    ui::Label &RangeLabel() { return *m_rangeLabel; }
    ui::Label &LastLabel() { return *m_lastLabel; }
    ui::Label &valueLabel1() { return *m_valueLabel1; }
    ui::Label &valueLabel2() { return *m_valueLabel2; }
    ui::ImageView &upDownMarkImageView() { return *m_upDownMarkImageView; }
    ui::ImageView &upDownTagImageView() { return *m_upDownTagImageView; }
    ui::ImageView &upDownArrowImageView() { return *m_upDownArrowImageView; }

private:
    void initUI(gfx::Rect rect);

    base::Ref<ui::Label> m_stockNameLabel, m_stockCodeLabel, m_upDownLabel, m_rangeLabel, m_lastLabel,
        m_valueLabel1, m_valueLabel2;
    base::Ref<ui::ImageView> m_cellBackgroundView, m_upDownMarkImageView, m_upDownTagImageView,
        m_upDownArrowImageView;
};
