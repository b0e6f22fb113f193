#include "Class/Module/ToolBarView/AccountCheckView/AccountCell.h"

#include "gfx/Font.h"

void AccountCell::initUI() {
    auto ink = textColor();
    auto clear = gfx::Color::clear();
    auto centre = gfx::Align::Center;
    auto font = gfx::Font::system(14);
    noLabel = GenSerialLabel(12);
    nameLabel = GenLabelWithText("", {}, nullptr, ink, centre, clear);
    codeLabel = GenLabelWithText("", {}, gfx::Font::system(13), ink, centre, clear);
    valueLabel = GenLabelWithText("", {}, nullptr, ink, centre, clear);
    m_amountTagLabel = GenLabelWithText("证券数量", {}, font, ink, gfx::Align::Left, clear);
    amountLabel = GenLabelWithText("", {}, font, ink, gfx::Align::Right, clear);
    m_blockTagLabel = GenLabelWithText("冻结数量", {}, font, ink, gfx::Align::Left, clear);
    blockLabel = GenLabelWithText("", {}, font, ink, gfx::Align::Right, clear);
    m_sellTagLabel = GenLabelWithText("可卖数量", {}, font, ink, gfx::Align::Left, clear);
    sellLabel = GenLabelWithText("", {}, font, ink, gfx::Align::Right, clear);
    m_costTagLabel = GenLabelWithText("成本价", {}, font, ink, gfx::Align::Left, clear);
    costLabel = GenLabelWithText("", {}, font, ink, gfx::Align::Right, clear);
    m_sellBtn = ui::Button::custom();
    m_sellBtn->setTitle("卖");
    m_sellBtn->setTitleColor(gfx::Color::yellow());
    m_sellBtn->titleLabel().setFont(gfx::Font::boldSystem(13));
    m_sellBtn->setBackgroundColor(rgb(44, 175, 238));
    base::Weak<AccountCell> weak = weakSelf<AccountCell>();
    m_sellBtn->addTarget(base::Action("SellAction",
                                      [weak](base::Object *) {
                                          if (auto alive = weak.lock())
                                              alive->SellAction();
                                      }),
                         ui::TouchUpInside);
    contentView().addSubview(m_sellBtn);
}

void AccountCell::layoutSubviews() {
    TradeRowCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height(), cw = (w - 20) * 5 / 18;
    noLabel->setFrame({0, 0, 12, h - 1});
    nameLabel->setFrame({20, 0, cw, 2 * h / 3});
    codeLabel->setFrame({20, 2 * h / 3, cw, h / 3});
    valueLabel->setFrame({20 + cw, 0, cw, h});
    float x = 20 + 2 * cw, width = w - kSellWidth - x, line = h / 4;
    placePair(*m_amountTagLabel, *amountLabel, {x, 0, width, line});
    placePair(*m_blockTagLabel, *blockLabel, {x, line, width, line});
    placePair(*m_sellTagLabel, *sellLabel, {x, 2 * line, width, line});
    placePair(*m_costTagLabel, *costLabel, {x, 3 * line, width, line});
    m_sellBtn->setFrame({w - kSellWidth, 0, kSellWidth, h - 1});
}

void AccountCell::SellAction() {
    if (auto d = delegate.lock())
        d->SellBtnAction(m_sellBtn.get(), indexPath);
}
