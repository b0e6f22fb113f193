#include "Module/Market/StockModelCell.h"

#include "Module/NewsViewController/InfoBombViewController.h"

#include "gfx/Font.h"
#include "ui/NavigationController.h"

namespace {

base::Ref<ui::Label> makeLabel(base::Ref<gfx::Font> font, gfx::Align alignment) {
    auto label = base::make<ui::Label>();
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    label->setFont(std::move(font));
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

StockModelCell::StockModelCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ModelCellBaseView(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    selectionStyle = Selection::None;
    makeViews();
    initUI({0, 0, frame.width(), frame.height()});
}

void StockModelCell::setUp() {
    ModelCellBaseView::setUp();
    m_infoButton->addTarget(BASE_ACTION(this, infoButtonAction), ui::TouchUpInside);
}

void StockModelCell::makeViews() {
    m_cellBackgroundView = base::make<ui::ImageView>(gfx::Image::named("cell_bg.png"));
    setBackgroundView(m_cellBackgroundView);
    m_upDownMarkImageView = base::make<ui::ImageView>(gfx::Image::named("left_bg.png"));
    m_snLabel = makeLabel(gfx::Font::boldSystem(12), gfx::Align::Center);
    m_snLabel->setNumberOfLines(0);
    m_stockNameLabel = makeLabel(gfx::Font::boldSystem(18), gfx::Align::Left);
    m_stockNameLabel->setAdjustsFontSizeToFitWidth(true);
    m_stockCodeLabel = makeLabel(gfx::Font::system(14), gfx::Align::Left);
    m_stockCodeLabel->setTextColor(gfx::Color::rgba(1, 198 / 255.f, 21 / 255.f));
    m_infoButton = ui::Button::custom();
    m_infoButton->addSubview(
        base::make<ui::ImageView>(gfx::Rect{10, 10, 19, 19}, gfx::Image::named("infoButton.png")));
    m_lastLabel = makeLabel(gfx::Font::named("Gurmukhi", 17), gfx::Align::Right);
    m_upDownTagImageView = base::make<ui::ImageView>(gfx::Image::named("white_tag.png"));
    m_upDownArrowImageView = base::make<ui::ImageView>();
    m_upDownTagImageView->addSubview(m_upDownArrowImageView);
    m_upDownLabel = makeLabel(gfx::Font::system(15), gfx::Align::Right);
    m_rangeLabel = makeLabel(gfx::Font::system(12), gfx::Align::Right);
    for (auto &label : m_valueLabels)
        label = makeLabel(gfx::Font::named("Gurmukhi", 17), gfx::Align::Right);
    for (ui::View *view : std::initializer_list<ui::View *>{
             m_upDownMarkImageView.get(), m_snLabel.get(), m_stockNameLabel.get(), m_stockCodeLabel.get(),
             m_infoButton.get(), m_lastLabel.get(), m_upDownTagImageView.get(), m_upDownLabel.get(),
             m_rangeLabel.get(), m_valueLabels[0].get(), m_valueLabels[1].get(), m_valueLabels[2].get()})
        contentView().addSubview(view->self<ui::View>());
}

void StockModelCell::initUI(gfx::Rect rect) {
    float h = rect.height(), f = h - 26, v = 2 * f / 3, y0 = (h - v) / 2;
    m_upDownMarkImageView->setFrame({0, 0, 12, h});
    m_snLabel->setFrame({0, 0, 12, h});
    m_stockNameLabel->setFrame({20, h / 6, 120, h / 3});
    m_stockCodeLabel->setFrame({20, h / 2, 120, h / 3});
    m_infoButton->setFrame({105, (h - 40) / 2, 40, 40});
    m_lastLabel->setFrame({140, y0, 110, v});
    m_upDownTagImageView->setFrame({250, 13, 105, f});
    m_upDownArrowImageView->setFrame({8, f / 2 - 4, 11, 10});
    m_upDownLabel->setFrame({250, 18, 100, f / 3});
    m_rangeLabel->setFrame({250, f / 2 + 13, 100, f / 3});
    for (int i = 0; i < 3; ++i)
        m_valueLabels[i]->setFrame({360 + 110.f * float(i), y0, 110, v});
    initMiniImageView(rect);
}

void StockModelCell::layoutSubviews() {
    ModelCellBaseView::layoutSubviews();
    initUI({0, 0, bounds().width(), bounds().height()});
}

void StockModelCell::setUpDownMarkImage(float change) {
    setMarkImages(change, *m_upDownTagImageView, *m_upDownArrowImageView);
}

void StockModelCell::setMarkImages(float change, ui::ImageView &tag, ui::ImageView &arrow) {
    if (change > 0) {
        tag.setImage(gfx::Image::named("red_tag.png"));
        arrow.setImage(gfx::Image::named("cell_up.png"));
    } else if (change < 0) {
        tag.setImage(gfx::Image::named("green_tag.png"));
        arrow.setImage(gfx::Image::named("cell_down.png"));
    } else {
        tag.setImage(gfx::Image::named("white_tag.png"));
        arrow.setImage(nullptr);
    }
}

void StockModelCell::infoButtonAction(ui::Button *) {
    auto notes = base::make<InfoBombViewController>();
    notes->setStockCode(marketCode, stockName);
    m_infoAlertPopoverController = base::make<ui::Popover>(base::make<ui::NavigationController>(notes));
    m_infoAlertPopoverController->presentFromRect(m_infoButton->bounds(), *m_infoButton, ui::ArrowLeft, true);
}
