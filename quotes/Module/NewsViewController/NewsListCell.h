#pragma once

#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

// One row of a news list: the title, a two-line summary and the time right-aligned at the bottom
// (style 0, the news screen), or a two-line title over the time (style 1, a security's news view,
// which has no summary). The selected row shows "SelectedBg.png".
class NewsListCell : public ui::TableCell {
public:
    enum ShowStyle { NewsListStyle = 0, StockNewsStyle = 1 };

    NewsListCell(const std::string &reuseIdentifier, float width, float height, int showStyle);
    void setUp() override;

    // A style without a summary ignores the summary.
    void updateWithTitle(const std::string &title, const std::string &summary, const std::string &datetime);

    ui::Label &titleLabel() { return *titleLabel_; }
    ui::Label *summaryLabel() { return summaryLabel_.get(); }
    ui::Label &datetimeLabel() { return *datetimeLabel_; }

private:
    base::Ref<ui::Label> createSubLabelWithFrame(gfx::Rect frame, base::Ref<gfx::Color> textColor,
                                                 float fontSize, gfx::Align alignment);

    float width_, height_;
    int showStyle_;
    base::Ref<ui::Label> titleLabel_, summaryLabel_, datetimeLabel_;
};
