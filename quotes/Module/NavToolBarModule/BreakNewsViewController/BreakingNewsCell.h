#pragma once

#include "ui/Label.h"
#include "ui/TableCell.h"

// One row of the breaking-news list: a narrow blue strip at the left edge with the item's serial
// number written one digit per line, and the item's text beside it. Rows alternate their colour.
class BreakingNewsCell : public ui::TableCell {
public:
    static constexpr const char *kIdentifier = "breakingNewsCell";
    static constexpr float kRowHeight = 86;
    static constexpr float kSerialWidth = 10, kTextLeft = 15, kTextInset = 20;

    explicit BreakingNewsCell(gfx::Rect frame);

    void SetCellBgColor(base::Ref<gfx::Color> color);
    ui::Label &SNLabel() { return *m_SNLabel; }
    ui::Label &newsLabel() { return *m_newsLabel; }

    void layoutSubviews() override;

private:
    base::Ref<ui::View> m_background;
    base::Ref<ui::Label> m_SNLabel, m_newsLabel;
};
