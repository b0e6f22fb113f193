#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

// One headline of the news side bar, 80 points tall: an arrow, the title in one line, two lines
// of summary below it from the top, and the date and time right-aligned at the bottom ("2012-05-08
// 09:31": a time that begins with the date shows alone). A touched row shows "SelectedBg.png".
class NewsListTblCell : public ui::TableCell {
public:
    static constexpr const char *ReuseIdentifier = "Cell";
    static constexpr float RowHeight = 80, TextX = 20, TextRightGap = 25;
    static constexpr float TitleFontSize = 17, SummaryFontSize = 15, DateFontSize = 14;

    explicit NewsListTblCell(float tableWidth);
    void setUp() override;

    // The headline's texts, laid out for a table of the width.
    void configure(const NewsSummaryInfo &headline, float tableWidth);

    ui::Label &title() { return *title_; }
    ui::Label &content() { return *content_; }
    ui::Label &date() { return *date_; }
    ui::ImageView &tipImgV() { return *tipImgV_; }

private:
    base::Ref<ui::Label> makeLabel(float fontSize, base::Ref<gfx::Color> color, gfx::Align alignment);

    float tableWidth_;
    base::Ref<ui::Label> title_, content_, date_;
    base::Ref<ui::ImageView> tipImgV_;
};
