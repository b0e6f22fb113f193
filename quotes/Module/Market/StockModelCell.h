#pragma once

#include "Module/Market/ModelCellBaseView.h"

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Popover.h"

#include <string>

// A 70-point row of the stock list (and of a board's members) in mini-trend mode: the serial
// number written downwards in a narrow strip, name and code, the latest price, the change and the
// rise on a tag coloured by the direction, three value fields of the list's choice and the
// intraday picture. Securities with information-mine notes today show an information button that
// opens them in a popover.
class StockModelCell : public ModelCellBaseView {
public:
    StockModelCell(Style style, std::string reuseIdentifier, gfx::Rect frame);

    void setUp() override;
    void layoutSubviews() override;
    // Red tag and up arrow above 0, green and down arrow below, white without arrow at 0.
    void setUpDownMarkImage(float change);
    // The direction tag and its arrow as every mini-trend row and tile shows them.
    static void setMarkImages(float change, ui::ImageView &tag, ui::ImageView &arrow);
    void infoButtonAction(ui::Button *button);

    ui::Label &StockNameLabel() { return *m_stockNameLabel; }
    ui::Label &StockCodeLabel() { return *m_stockCodeLabel; }
    ui::Label &UpDownLabel() { return *m_upDownLabel; }
    ui::Label &RangeLabel() { return *m_rangeLabel; }
    ui::Label &LastLabel() { return *m_lastLabel; }
    ui::Label &SNLabel() { return *m_snLabel; }
    ui::Label &valueLabel(int index) { return *m_valueLabels[index]; }
    ui::Button &infoButton() { return *m_infoButton; }
    ui::ImageView &upDownTagImageView() { return *m_upDownTagImageView; }
    ui::ImageView &upDownArrowImageView() { return *m_upDownArrowImageView; }
    ui::Popover *infoAlertPopoverController() const { return m_infoAlertPopoverController.get(); }

    std::string marketCode;
    std::string stockName;

private:
    void initUI(gfx::Rect rect);
    void makeViews();

    base::Ref<ui::Label> m_stockNameLabel, m_stockCodeLabel, m_upDownLabel, m_rangeLabel, m_lastLabel,
        m_snLabel;
    base::Ref<ui::Label> m_valueLabels[3];
    base::Ref<ui::Button> m_infoButton;
    base::Ref<ui::ImageView> m_cellBackgroundView, m_upDownMarkImageView, m_upDownTagImageView,
        m_upDownArrowImageView;
    base::Ref<ui::Popover> m_infoAlertPopoverController;
};
