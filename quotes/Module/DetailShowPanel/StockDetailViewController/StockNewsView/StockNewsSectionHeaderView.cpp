#include "Module/DetailShowPanel/StockDetailViewController/StockNewsView/StockNewsSectionHeaderView.h"

#include "gfx/Color.h"
#include "gfx/Image.h"

StockNewsSectionHeaderView::StockNewsSectionHeaderView(gfx::Rect frame, std::string title, int index)
    : ui::View(frame), title_(std::move(title)), _index(index) {}

void StockNewsSectionHeaderView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("stock_news_category_bg.png")));
    gfx::Rect area = bounds();
    base::Ref<gfx::Image> arrow = gfx::Image::named(kArrowRight);
    gfx::Size size = arrow ? arrow->size() : gfx::Size{};
    arrowView_ = base::make<ui::ImageView>(gfx::Rect{kArrowX, (area.height() - size.h) / 2, size.w, size.h},
                                           std::move(arrow));
    addSubview(arrowView_);
    float titleX = arrowView_->frame().maxX() + kTitleGap;
    titleLabel_ = base::make<ui::Label>(gfx::Rect{titleX, 0, area.width() - titleX, area.height()});
    titleLabel_->setTextAlignment(gfx::Align::Left);
    titleLabel_->setBackgroundColor(gfx::Color::clear());
    titleLabel_->opaque = false;
    titleLabel_->setTextColor(gfx::Color::white());
    titleLabel_->setText(title_);
    addSubview(titleLabel_);
    button_ = ui::Button::custom(area);
    button_->addTarget(BASE_ACTION(this, onSectionHeaderClicked), ui::TouchUpInside);
    addSubview(button_);
}

void StockNewsSectionHeaderView::setIsExpanded(bool expanded) {
    _isExpanded = expanded;
    arrowView_->setImage(gfx::Image::named(expanded ? kArrowDown : kArrowRight));
}

void StockNewsSectionHeaderView::onSectionHeaderClicked() {
    setIsExpanded(!_isExpanded);
    if (auto owner = delegate.lock())
        owner->stockNewsSectionHeaderView(*this, _isExpanded, _index);
}
