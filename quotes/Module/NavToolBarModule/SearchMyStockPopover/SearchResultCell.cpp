#include "Module/NavToolBarModule/SearchMyStockPopover/SearchResultCell.h"

#include "gfx/Font.h"

SearchResultCell::SearchResultCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    m_stockNameLabel = base::make<ui::Label>(kNameFrame);
    m_stockNameLabel->setFont(gfx::Font::system(16));
    m_stockCodeLabel = base::make<ui::Label>(kCodeFrame);
    m_stockCodeLabel->setFont(gfx::Font::system(12));
    m_lastLabel = base::make<ui::Label>(kLastFrame);
    m_rangeLabel = base::make<ui::Label>(kRangeFrame);
    for (auto *label : {m_lastLabel.get(), m_rangeLabel.get()}) {
        label->setFont(gfx::Font::system(15));
        label->setTextAlignment(gfx::Align::Right);
    }
    for (const auto &label : {m_stockNameLabel, m_stockCodeLabel, m_lastLabel, m_rangeLabel}) {
        label->setBackgroundColor(gfx::Color::clear());
        label->setTextColor(gfx::Color::black());
        contentView().addSubview(label);
    }
    m_addButton = ui::Button::contactAdd();
    setAccessoryView(m_addButton);
    setBackgroundColor(gfx::Color::clear());
    m_cellBackgroundView = base::make<ui::ImageView>(gfx::Image::named("SelectedBg.png"));
    setSelectedBackgroundView(m_cellBackgroundView);
}

void SearchResultCell::setUp() {
    ui::TableCell::setUp();
    base::Weak<SearchResultCell> weak = weakSelf<SearchResultCell>();
    m_addButton->addTarget(base::Action(weak, "AddBtnAction",
                                        [weak](base::Object *) {
                                            if (auto self = weak.lock())
                                                self->AddBtnAction();
                                        }),
                           ui::TouchUpInside);
}

void SearchResultCell::setSelected(bool selected, bool animated) {
    ui::TableCell::setSelected(selected, animated);
    base::Ref<gfx::Color> colour = selected ? gfx::Color::white() : gfx::Color::black();
    m_stockNameLabel->setTextColor(colour);
    m_stockCodeLabel->setTextColor(colour);
}

void SearchResultCell::SetUpdownColor(float change) {
    base::Ref<gfx::Color> colour = change > 0   ? gfx::Color::red()
                                   : change < 0 ? gfx::Color::rgba(0, 0.6f, 0)
                                                : gfx::Color::black();
    m_lastLabel->setTextColor(colour);
    m_rangeLabel->setTextColor(colour);
}

void SearchResultCell::SetAddButtonShow(bool show) {
    // The cell shows whatever accessory it holds: a hidden button is no accessory at all.
    setAccessoryView(show ? m_addButton : nullptr);
}

void SearchResultCell::AddBtnAction() {
    if (auto d = delegate.lock())
        d->AccessoryButtonAdd(*this);
}
