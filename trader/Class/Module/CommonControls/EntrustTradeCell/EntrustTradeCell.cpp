#include "Class/Module/CommonControls/EntrustTradeCell/EntrustTradeCell.h"

#include "gfx/Font.h"

void EntrustTradeCell::initUI() {
    auto ink = textColor();
    auto clear = gfx::Color::clear();
    auto centre = gfx::Align::Center;
    NOLabel = GenSerialLabel(10);
    nameLabel = GenLabelWithText("", {}, gfx::Font::boldSystem(18), ink, centre, clear);
    codeLabel = GenLabelWithText("", {}, gfx::Font::boldSystem(14), ink, centre, clear);
    buySellLabel = GenLabelWithText("", {}, gfx::Font::system(14), ink, centre, clear);
    timeLabel = GenLabelWithText("", {}, gfx::Font::system(12), dateColor(), centre, clear);
    dateLabel = GenLabelWithText("", {}, gfx::Font::system(12), dateColor(), centre, clear);
    stateLabel = GenLabelWithText("", {}, gfx::Font::system(13), ink, centre, rgb(255, 217, 114, 0.2f));
    auto small = gfx::Font::system(13);
    entPriceTag = GenLabelWithText("委托价格", {}, small, ink, gfx::Align::Left, clear);
    entPriceLabel = GenLabelWithText("", {}, small, ink, gfx::Align::Right, clear);
    dealPriceTag = GenLabelWithText("成交均价", {}, small, ink, gfx::Align::Left, clear);
    dealPriceLabel = GenLabelWithText("", {}, gfx::Font::system(14), ink, gfx::Align::Right, clear);
    entrustVolTag = GenLabelWithText("委托数量", {}, small, ink, gfx::Align::Left, clear);
    entrustVolLabel = GenLabelWithText("", {}, small, ink, gfx::Align::Right, clear);
    dealVolTag = GenLabelWithText("成交数量", {}, small, ink, gfx::Align::Left, clear);
    dealVolLabel = GenLabelWithText("", {}, small, ink, gfx::Align::Right, clear);
    withDrawBtn = ui::Button::custom();
    withDrawBtn->setTitle("撤单");
    withDrawBtn->titleLabel().setFont(gfx::Font::boldSystem(14));
    withDrawBtn->setBackgroundColor(rgb(255, 136, 29));
    base::Weak<EntrustTradeCell> weak = weakSelf<EntrustTradeCell>();
    withDrawBtn->addTarget(base::Action("withDrawAction",
                                        [weak](base::Object *) {
                                            if (auto alive = weak.lock())
                                                alive->withDrawAction();
                                        }),
                           ui::TouchUpInside);
    contentView().addSubview(withDrawBtn);
}

void EntrustTradeCell::layoutSubviews() {
    TradeRowCell::layoutSubviews();
    LayoutFields(bounds());
}

void EntrustTradeCell::LayoutFields(gfx::Rect rect) {
    float w = rect.width(), c = rect.height() - kStripHeight, third = w / 3;
    NOLabel->setFrame({0, 0, 10, c});
    nameLabel->setFrame({10, 7, third, c / 3});
    codeLabel->setFrame({10, c / 3 + 5, third, c / 3});
    withDrawBtn->setFrame({12, 2 * c / 3 + 6, third - 2, c / 4});
    float f = (c - 15) / 2;
    buySellLabel->setFrame({third, 5, third, f});
    timeLabel->setFrame({third, f + 2, third, f});
    dateLabel->setFrame({third, f + 18, third, f});
    stateLabel->setFrame({0, c, w, kStripHeight});
    float line = c / 4;
    placePair(*entPriceTag, *entPriceLabel, {2 * third, 0, third, line});
    placePair(*dealPriceTag, *dealPriceLabel, {2 * third, line, third, line});
    placePair(*entrustVolTag, *entrustVolLabel, {2 * third, 2 * line, third, line});
    placePair(*dealVolTag, *dealVolLabel, {2 * third, 3 * line, third, line});
}

void EntrustTradeCell::withDrawAction() {
    if (auto d = delegate.lock())
        d->ReturnWithDrawAction(withDrawBtn.get(), indexPath);
}
