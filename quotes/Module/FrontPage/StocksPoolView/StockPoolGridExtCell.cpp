#include "Module/FrontPage/StocksPoolView/StockPoolGridExtCell.h"

#include "gfx/Font.h"

namespace {

constexpr float LabelFontSize = 12;
// Caption texts of cell types 0 and 1: last, change, gain, entry.
constexpr const char *Captions[2][4] = {{"最新", "涨幅", "收益", "入池"},
                                        {"最新价", "涨幅", "收益率", "入池价"}};

} // namespace

StockPoolGridExtCell::StockPoolGridExtCell(Style style, std::string reuseIdentifier, uint16_t cellType)
    : ui::TableCell(style, std::move(reuseIdentifier)), currentCellType_(cellType > 1 ? 1 : cellType) {}

base::Ref<ui::Label> StockPoolGridExtCell::addLabel(bool bold, gfx::Align alignment, const char *text) {
    auto label = base::make<ui::Label>();
    label->setBackgroundColor(gfx::Color::clear());
    label->opaque = false;
    label->setTextColor(gfx::Color::white());
    label->setFont(bold ? gfx::Font::boldSystem(LabelFontSize) : gfx::Font::system(LabelFontSize));
    label->setTextAlignment(alignment);
    label->setText(text);
    contentView().addSubview(label);
    return label;
}

void StockPoolGridExtCell::setUp() {
    ui::TableCell::setUp();
    setBackgroundView(base::make<ui::View>());
    selectionStyle = Selection::None;
    dateTimeLabel_ = addLabel(true, gfx::Align::Center, "--");
    nameLabel_ = addLabel(true, gfx::Align::Center, "");
    codeLabel_ = addLabel(true, gfx::Align::Center, "");
    for (int i = 0; i < 4; ++i) {
        captions_[i] = addLabel(false, gfx::Align::Left, Captions[currentCellType_][i]);
        captions_[i]->tag = FirstCaptionTag + i;
    }
    lastLabel_ = addLabel(true, gfx::Align::Right, "");
    rangeLabel_ = addLabel(true, gfx::Align::Right, "");
    incomeLabel_ = addLabel(true, gfx::Align::Right, "");
    buyValueLabel_ = addLabel(true, gfx::Align::Right, "");
    largeIncomeLabel_ = addLabel(true, gfx::Align::Right, "");
    incomeLabel_->setHidden(currentCellType_ != 0);
    largeIncomeLabel_->setHidden(currentCellType_ == 0);
}

ui::Label *StockPoolGridExtCell::caption(int index) const {
    return index >= 1 && index <= 4 ? captions_[index - 1].get() : nullptr;
}

void StockPoolGridExtCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    backgroundView()->setFrame({0, 0, w, h});
    dateTimeLabel_->setFrame({0, 0, LeftWidth, h / 3});
    nameLabel_->setFrame({0, h / 3, LeftWidth, h / 3});
    codeLabel_->setFrame({0, 2 * h / 3, LeftWidth, h / 3});
    gfx::Rect last, range, income, entry;
    if (currentCellType_ == 0) {
        float a = (w - LeftWidth) / 2;
        last = {LeftWidth, 10, a, h / 3};
        range = {LeftWidth, h / 3 + 15, a, h / 3};
        income = {LeftWidth + a, h / 3 + 15, a, h / 3};
        entry = {LeftWidth + a, 10, a, h / 3};
    } else {
        float q = h / 4;
        last = {LeftWidth, 2 * q, w - LeftWidth, q};
        range = {LeftWidth, 3 * q, w - LeftWidth, q};
        income = {LeftWidth, 0, w - LeftWidth, q};
        entry = {LeftWidth, q, w - LeftWidth, q};
    }
    captions_[0]->setFrame(last);
    lastLabel_->setFrame(last);
    captions_[1]->setFrame(range);
    rangeLabel_->setFrame(range);
    captions_[2]->setFrame(income);
    incomeLabel_->setFrame(income);
    largeIncomeLabel_->setFrame(income);
    captions_[3]->setFrame(entry);
    buyValueLabel_->setFrame(entry);
}

void StockPoolGridExtCell::SetCellBgColor(base::Ref<gfx::Color> color) {
    backgroundView()->setBackgroundColor(std::move(color));
}

void StockPoolGridExtCell::SetCellBgColor(float red, float green, float blue, float alpha) {
    SetCellBgColor(gfx::Color::rgba(red / 255, green / 255, blue / 255, alpha));
}
