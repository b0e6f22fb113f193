#include "Module/Market/IndexReportCell.h"

#include "gfx/Font.h"

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

IndexReportCell::IndexReportCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ModelCellBaseView(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    selectionStyle = Selection::None;
    m_cellBackgroundView = base::make<ui::ImageView>(gfx::Image::named("cell_bg.png"));
    setBackgroundView(m_cellBackgroundView);
    m_upDownMarkImageView = base::make<ui::ImageView>();
    m_stockNameLabel = makeLabel(gfx::Font::boldSystem(18), gfx::Align::Left);
    m_stockNameLabel->setAdjustsFontSizeToFitWidth(true);
    m_stockCodeLabel = makeLabel(gfx::Font::system(14), gfx::Align::Left);
    m_stockCodeLabel->setTextColor(gfx::Color::rgba(1, 198 / 255.f, 21 / 255.f));
    m_lastLabel = makeLabel(gfx::Font::named("Gurmukhi", 17), gfx::Align::Center);
    m_upDownTagImageView = base::make<ui::ImageView>();
    m_upDownArrowImageView = base::make<ui::ImageView>();
    m_upDownTagImageView->addSubview(m_upDownArrowImageView);
    m_upDownLabel = makeLabel(gfx::Font::system(15), gfx::Align::Right);
    m_rangeLabel = makeLabel(gfx::Font::system(12), gfx::Align::Right);
    m_valueLabel1 = makeLabel(gfx::Font::named("Gurmukhi", 17), gfx::Align::Left);
    m_valueLabel2 = makeLabel(gfx::Font::named("Gurmukhi", 17), gfx::Align::Left);
    for (ui::View *view : std::initializer_list<ui::View *>{
             m_upDownMarkImageView.get(), m_stockNameLabel.get(), m_stockCodeLabel.get(), m_lastLabel.get(),
             m_upDownTagImageView.get(), m_upDownLabel.get(), m_rangeLabel.get(), m_valueLabel1.get(),
             m_valueLabel2.get()})
        contentView().addSubview(view->self<ui::View>());
    setUpDownMarkImage(0);
    initUI({0, 0, frame.width(), frame.height()});
}

void IndexReportCell::initUI(gfx::Rect rect) {
    float h = rect.height(), e = h - 26, t = 2 * e / 3;
    m_upDownMarkImageView->setFrame({0, 0, 10, h});
    m_stockNameLabel->setFrame({20, h / 6, 160, h / 3});
    m_stockCodeLabel->setFrame({20, h / 2, 160, h / 3});
    m_lastLabel->setFrame({160, (h - t) / 2, 110, t});
    m_upDownTagImageView->setFrame({270, 13, 105, e});
    m_upDownArrowImageView->setFrame({8, e / 2 - 4, 11, 10});
    m_upDownLabel->setFrame({270, 18, 100, e / 3});
    m_rangeLabel->setFrame({270, e / 2 + 13, 100, e / 3});
    m_valueLabel1->setFrame({435, (h - t) / 2, 165, t});
    m_valueLabel2->setFrame({600, (h - t) / 2, 165, t});
    initMiniImageView(rect);
}

void IndexReportCell::layoutSubviews() {
    ModelCellBaseView::layoutSubviews();
    initUI({0, 0, bounds().width(), bounds().height()});
}

void IndexReportCell::setUpDownMarkImage(float change) {
    struct Look {
        const char *strip, *tag, *arrow;
    };
    static constexpr Look Rise{"red_left.png", "red_tag.png", "cell_up.png"};
    static constexpr Look Fall{"green_left.png", "green_tag.png", "cell_down.png"};
    static constexpr Look Plane{"white_left.png", "white_tag.png", nullptr};
    const Look &look = change > 0 ? Rise : change < 0 ? Fall : Plane;
    m_upDownMarkImageView->setImage(gfx::Image::named(look.strip));
    m_upDownTagImageView->setImage(gfx::Image::named(look.tag));
    m_upDownArrowImageView->setImage(look.arrow ? gfx::Image::named(look.arrow) : nullptr);
}
