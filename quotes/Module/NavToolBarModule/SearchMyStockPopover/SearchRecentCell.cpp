#include "Module/NavToolBarModule/SearchMyStockPopover/SearchRecentCell.h"

#include "gfx/Font.h"

SearchRecentCell::SearchRecentCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    float w = frame.width(), h = frame.height();
    m_stockNameLabel = base::make<ui::Label>(gfx::Rect{10, 0, w / 2 - 10, h});
    m_stockNameLabel->setAdjustsFontSizeToFitWidth(true);
    m_stockCodeLabel = base::make<ui::Label>(gfx::Rect{w / 2, 0, w / 2 - 10, h});
    m_stockCodeLabel->setTextAlignment(gfx::Align::Right);
    for (auto *label : {m_stockNameLabel.get(), m_stockCodeLabel.get()}) {
        label->setBackgroundColor(gfx::Color::clear());
        label->setFont(gfx::Font::system(15));
        label->setTextColor(gfx::Color::black());
    }
    contentView().addSubview(m_stockNameLabel);
    contentView().addSubview(m_stockCodeLabel);
    auto ground = base::make<ui::View>(frame);
    ground->setBackgroundColor(gfx::Color::lightGray());
    setBackgroundView(ground);
    m_cellBackgroundView = base::make<ui::ImageView>(gfx::Image::named("SelectedBg.png"));
    setSelectedBackgroundView(m_cellBackgroundView);
}

void SearchRecentCell::setSelected(bool selected, bool animated) {
    ui::TableCell::setSelected(selected, animated);
    base::Ref<gfx::Color> colour = selected ? gfx::Color::white() : gfx::Color::black();
    m_stockNameLabel->setTextColor(colour);
    m_stockCodeLabel->setTextColor(colour);
}
