#include "Module/Decision/MiniRankListViewCell.h"

#include "ui/TableView.h"

#include <cmath>

MiniRankListViewCell::MiniRankListViewCell(std::string reuseIdentifier)
    : ui::TableCell(ui::TableCell::Style::Default, std::move(reuseIdentifier)) {}

void MiniRankListViewCell::setUp() {
    ui::TableCell::setUp();
    for (base::Ref<ui::Label> *label : {&labelName_, &labelCode_, &labelPrice_, &labelOther_}) {
        *label = base::make<ui::Label>();
        (*label)->setBackgroundColor(gfx::Color::clear());
        contentView().addSubview(*label);
    }
    labelOther_->setTextAlignment(gfx::Align::Right);
}

void MiniRankListViewCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    auto *table = dynamic_cast<ui::TableView *>(superview());
    for (ui::View *up = superview(); !table && up; up = up->superview())
        table = dynamic_cast<ui::TableView *>(up);
    const float tw = table ? table->bounds().width() : bounds().width();
    const float r = table ? table->rowHeight : bounds().height();
    const float nameWidth = std::floor(0.45f * tw);
    labelName_->setFrame({3, 0, nameWidth, std::floor(0.5f * r)});
    labelCode_->setFrame({3, std::floor(0.46f * r), nameWidth, std::floor(0.35f * r)});
    const float priceWidth = std::floor((tw - nameWidth - 8) / 2);
    labelPrice_->setFrame({nameWidth + 5, 0, priceWidth, r - 5});
    labelOther_->setFrame({nameWidth + 5 + priceWidth + 1, 0, priceWidth - 5, r - 5});
}

void MiniRankListViewCell::showRow(const base::Value &row) {
    struct Part {
        ui::Label *label;
        const char *text, *color, *font;
    };
    const Part parts[] = {{labelName_.get(), "nameKey", "nameClrKey", "titleFontKey"},
                          {labelCode_.get(), "codeKey", "codeClrKey", "codeFontKey"},
                          {labelPrice_.get(), "DspVal1Key", "DspVal1ClrKey", "contentFontKey"},
                          {labelOther_.get(), "DspVal2Key", "DspVal2ClrKey", "contentFontKey"}};
    for (const Part &part : parts) {
        part.label->setText(row[part.text].stringValue());
        if (auto color = row[part.color].objectAs<gfx::Color>())
            part.label->setTextColor(color);
        if (auto font = row[part.font].objectAs<gfx::Font>())
            part.label->setFont(font);
    }
}
