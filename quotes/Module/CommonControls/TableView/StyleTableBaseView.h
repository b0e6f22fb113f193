#pragma once

#include "Module/CommonControls/TableView/TableBaseView.h"

// The detail tables' look: 20-point rows in bold 14, the table inset 2 points in the view (below a
// 30-point title bar when the table has one) and the placeholder on the table's centre. Every
// change of frame lays the table, columns and title bar out again.
class StyleTableBaseView : public TableBaseView {
public:
    static constexpr float RowHeight = 20, TitleBarHeight = 30, FontSize = 14;

    StyleTableBaseView(gfx::Rect frame, base::Weak<base::Object> controller);
    void layoutSubviews() override;
    void setLabelFont(ui::Label &label) override;
};
