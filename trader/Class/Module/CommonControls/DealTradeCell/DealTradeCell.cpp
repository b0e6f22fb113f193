#include "Class/Module/CommonControls/DealTradeCell/DealTradeCell.h"

#include "gfx/Font.h"

void DealTradeCell::initUI() {
    auto ink = textColor();
    auto clear = gfx::Color::clear();
    auto centre = gfx::Align::Center;
    NOLabel = GenSerialLabel(10);
    nameLabel = GenLabelWithText("", {}, gfx::Font::boldSystem(18), ink, centre, clear);
    codeLabel = GenLabelWithText("", {}, gfx::Font::boldSystem(14), ink, centre, clear);
    dealTypeLabel = GenLabelWithText("", {}, gfx::Font::system(12), ink, centre, clear);
    dateLabel = GenLabelWithText("", {}, gfx::Font::system(12), dateColor(), centre, clear);
    stateLabel = GenLabelWithText("", {}, gfx::Font::system(12), ink, centre, rgb(255, 217, 114, 0.2f));
    dealPriceTag = GenLabelWithText("成交均价", {}, gfx::Font::system(13), ink, gfx::Align::Left, clear);
    dealPriceLabel = GenLabelWithText("", {}, gfx::Font::system(14), ink, gfx::Align::Right, clear);
    dealVolTag = GenLabelWithText("成交数量", {}, gfx::Font::system(13), ink, gfx::Align::Left, clear);
    dealVolLabel = GenLabelWithText("", {}, gfx::Font::system(13), ink, gfx::Align::Right, clear);
}

void DealTradeCell::layoutSubviews() {
    TradeRowCell::layoutSubviews();
    LayoutFields(bounds());
}

void DealTradeCell::LayoutFields(gfx::Rect rect) {
    float w = rect.width(), c = rect.height() - kStripHeight, third = w / 3, e = (c - 15) / 2;
    NOLabel->setFrame({0, 0, 10, c});
    nameLabel->setFrame({10, 0, third, 2 * c / 3});
    codeLabel->setFrame({10, 2 * c / 3, third, c / 3});
    dealTypeLabel->setFrame({third, 5, third, e});
    dateLabel->setFrame({third, e + 10, third, e});
    stateLabel->setFrame({0, c, w, kStripHeight});
    placePair(*dealPriceTag, *dealPriceLabel, {2 * third, c / 4, third, c / 4});
    placePair(*dealVolTag, *dealVolLabel, {2 * third, 2.5f * c / 4, third, c / 4});
}
