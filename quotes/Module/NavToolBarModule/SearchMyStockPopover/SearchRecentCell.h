#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

// A row of the recently picked securities (and of the detail screen's overlay list): the name on
// the left half, shrunk to fit, the code right-aligned on the right half, on a grey ground. A
// selected row shows white text on the selection picture.
class SearchRecentCell : public ui::TableCell {
public:
    SearchRecentCell(Style style, std::string reuseIdentifier, gfx::Rect frame);

    void setSelected(bool selected, bool animated) override;

    ui::Label &StockNameLabel() { return *m_stockNameLabel; }
    ui::Label &StockCodeLabel() { return *m_stockCodeLabel; }

private:
    base::Ref<ui::Label> m_stockNameLabel, m_stockCodeLabel;
    base::Ref<ui::ImageView> m_cellBackgroundView;
};
