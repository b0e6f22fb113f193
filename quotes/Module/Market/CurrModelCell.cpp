#include "Module/Market/CurrModelCell.h"

#include "Common/StylePool.h"

#include "gfx/Font.h"

CurrModelCell::CurrModelCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : StockModelCell(style, std::move(reuseIdentifier), frame) {
    selectionStyle = Selection::Blue;
}

void CurrModelCell::setUp() {
    StockModelCell::setUp();
    SNLabel().setHidden(true);
    infoButton().setHidden(true);
    LastLabel().setTextAlignment(gfx::Align::Center);
    valueLabel(1).setTextAlignment(gfx::Align::Center);
    valueLabel(2).setTextAlignment(gfx::Align::Center);
}

CurrTileCell::CurrTileCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ModelCellBaseView(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    selectionStyle = Selection::None;
    setBackgroundColor(gfx::Color::clear());
    makeViews();
    initUI({0, 0, frame.width(), frame.height() - BottomGap});
}

base::Ref<ui::Label> CurrTileCell::GenerateValueLabel(base::Ref<gfx::Color> color, gfx::Align alignment,
                                                      base::Ref<gfx::Font> font) {
    auto label = base::make<ui::Label>();
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(std::move(color));
    label->setTextAlignment(alignment);
    label->setFont(std::move(font));
    contentView().addSubview(label);
    return label;
}

void CurrTileCell::makeViews() {
    m_cellBackgroundView = base::make<ui::ImageView>(gfx::Image::named("cellTile_bg.png"));
    contentView().addSubview(m_cellBackgroundView);
    m_devideLineImageView = base::make<ui::ImageView>(gfx::Image::named("divLine.png"));
    contentView().addSubview(m_devideLineImageView);
    m_stockNameLabel = GenerateValueLabel(gfx::Color::white(), gfx::Align::Center, gfx::Font::boldSystem(21));
    m_stockNameLabel->setAdjustsFontSizeToFitWidth(true);
    m_stockCodeLabel = GenerateValueLabel(gfx::Color::rgba(1, 198 / 255.f, 21 / 255.f), gfx::Align::Center,
                                          gfx::Font::system(14));
    m_lastLabel = GenerateValueLabel(gfx::Color::white(), gfx::Align::Center, gfx::Font::boldSystem(26));
    m_upDownTagImageView = base::make<ui::ImageView>(gfx::Image::named("white_tag.png"));
    m_upDownArrowImageView = base::make<ui::ImageView>();
    m_upDownTagImageView->addSubview(m_upDownArrowImageView);
    contentView().addSubview(m_upDownTagImageView);
    m_upDownLabel = GenerateValueLabel(gfx::Color::white(), gfx::Align::Right, gfx::Font::system(16));
    m_rangeLabel = GenerateValueLabel(gfx::Color::white(), gfx::Align::Right, gfx::Font::system(16));
    for (int i = 0; i < 3; ++i) {
        m_valueLabelNames[i] =
            GenerateValueLabel(gfx::Color::cyan(), gfx::Align::Right, gfx::Font::boldSystem(16));
        m_valueLabels[i] =
            GenerateValueLabel(gfx::Color::white(), gfx::Align::Left, gfx::Font::boldSystem(16));
    }
}

void CurrTileCell::initUI(gfx::Rect rect) {
    float W = rect.width(), H = rect.height(), g = 2 * W / 9, e = H / 2 - 20, xt = 2 * g + (g - 105) / 2;
    m_cellBackgroundView->setFrame({0, 0, W, H});
    m_devideLineImageView->setFrame({5, H / 2 - 2, W - W / 3.5f, 2});
    m_stockNameLabel->setFrame({20, 0, 120, 3 * H / 8});
    m_stockCodeLabel->setFrame({20, H / 4, 120, H / 4});
    m_lastLabel->setFrame({g, 0, 110, H / 2});
    m_upDownTagImageView->setFrame({xt, 10, 105, e});
    m_upDownArrowImageView->setFrame({8, e / 2 - 4, 11, 10});
    m_upDownLabel->setFrame({xt, 15, 100, e / 3});
    m_rangeLabel->setFrame({xt, e / 2 + 10, 100, e / 3});
    for (int i = 0; i < 3; ++i) {
        float x = g * float(i);
        m_valueLabelNames[i]->setFrame({x, H / 2, 2 * g / 5, H / 2});
        m_valueLabels[i]->setFrame({x + g / 2, H / 2, g / 2, H / 2});
    }
    initMiniImageView(rect);
}

void CurrTileCell::layoutSubviews() {
    ModelCellBaseView::layoutSubviews();
    initUI({0, 0, bounds().width(), bounds().height() - BottomGap});
}

void CurrTileCell::setUpDownMarkImage(float change) {
    StockModelCell::setMarkImages(change, *m_upDownTagImageView, *m_upDownArrowImageView);
    m_lastLabel->setTextColor(StylePool::Instance().getPriceColor(change > 0 ? 1 : change < 0 ? -1 : 0));
}
