#include "Module/FreeFrontPage/NewsListTblCell.h"

#include "Common/StyleFunc.h"
#include "Common/UtilUI.h"
#include "gfx/Color.h"

#include <algorithm>

namespace {

const gfx::Rect ArrowFrame{6, 5, 10, 15};

} // namespace

NewsListTblCell::NewsListTblCell(float tableWidth)
    : ui::TableCell(Style::Default, ReuseIdentifier), tableWidth_(tableWidth) {}

void NewsListTblCell::setUp() {
    ui::TableCell::setUp();
    tipImgV_ = base::make<ui::ImageView>(ArrowFrame, UtilUI::imageNamed("rightArrow.png"));
    contentView().addSubview(tipImgV_);
    title_ = makeLabel(TitleFontSize, gfx::Color::white(), gfx::Align::Left);
    content_ = makeLabel(SummaryFontSize, gfx::Color::lightGray(), gfx::Align::Left);
    content_->setNumberOfLines(2);
    content_->setLineBreakMode(gfx::LineBreak::CharWrap);
    date_ = makeLabel(DateFontSize, gfx::Color::white(1, 0.6f), gfx::Align::Right);
    setSelectedBackgroundView(base::make<ui::ImageView>(gfx::Rect{0, 0, tableWidth_, RowHeight},
                                                        UtilUI::imageNamed("SelectedBg.png")));
}

base::Ref<ui::Label> NewsListTblCell::makeLabel(float fontSize, base::Ref<gfx::Color> color,
                                                gfx::Align alignment) {
    auto label = base::make<ui::Label>();
    label->setBackgroundColor(gfx::Color::clear());
    label->opaque = false;
    label->setFont(gfx::Font::system(fontSize));
    label->setTextColor(std::move(color));
    label->setTextAlignment(alignment);
    contentView().addSubview(label);
    return label;
}

void NewsListTblCell::configure(const NewsSummaryInfo &headline, float t) {
    const float h17 = float(StyleFunc::getFontHeight(gfx::Font::system(TitleFontSize)));
    const float h14 = float(StyleFunc::getFontHeight(gfx::Font::system(DateFontSize)));
    const float width = t - TextRightGap;
    title_->setFrame({TextX, 2, width, h17});
    title_->setText(headline.title.value_or(""));

    // The summary starts at the top of its place: a label centres its lines, so it is made only as
    // tall as they are.
    const gfx::Rect summary{TextX, h17 + 2, width, RowHeight - h17 - h14};
    content_->setText(headline.summary.value_or(""));
    const float fitted = content_->sizeThatFits({width, summary.height()}).h;
    content_->setFrame({summary.x(), summary.y(), width, std::min(fitted, summary.height())});
    date_->setFrame({TextX, summary.maxY(), width, h14});
    // The host's time text starts with the date already: it is not written twice.
    const std::string day = headline.date.value_or(""), time = headline.time.value_or("");
    date_->setText(!day.empty() && time.starts_with(day) ? time : day + " " + time);
}
