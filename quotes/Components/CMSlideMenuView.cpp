#include "Components/CMSlideMenuView.h"

base::Ref<CMSlideMenuView> CMSlideMenuView::create(gfx::Rect frame) {
    struct Made : CMSlideMenuView {
        explicit Made(gfx::Rect frame) : CMSlideMenuView(frame) {}
    };
    base::Ref<CMSlideMenuView> strip = base::make<Made>(frame);
    strip->initUI({0, 0, frame.width(), frame.height()});
    return strip;
}

CMSlideMenuView::CMSlideMenuView(gfx::Rect frame)
    : ui::View(frame), normalImage(gfx::Image::named("configbar_highlight.png")),
      pressedImage(gfx::Image::named("configbar_normal.png")) {}

void CMSlideMenuView::initUI(gfx::Rect rect) {
    backgroundImage_ = base::make<ui::ImageView>(rect);
    addSubview(backgroundImage_);
    bgScrollView_ = base::make<ui::ScrollView>(rect);
    bgScrollView_->setBackgroundColor(gfx::Color::clear());
    bgScrollView_->opaque = false;
    bgScrollView_->showsHorizontalScrollIndicator = false;
    addSubview(bgScrollView_);
}

void CMSlideMenuView::layoutSubviews() {
    const gfx::Rect rect{0, 0, bounds().width(), bounds().height()};
    backgroundImage_->setFrame(rect);
    bgScrollView_->setFrame(rect);
}

CMSlideMenuItem *CMSlideMenuView::item(int index) const {
    return index >= 0 && index < int(items_.size()) ? items_[size_t(index)].get() : nullptr;
}

void CMSlideMenuView::SetMenuItemArray(const std::vector<std::string> &titles) {
    for (auto &old : items_)
        old->removeFromSuperview();
    items_.clear();
    count_ = int(titles.size());
    const float height = bounds().height();
    for (int i = 0; i < count_; ++i) {
        const float x = ItemWidth * float(i) + ItemSpace * float(i + 1);
        auto tab = CMSlideMenuItem::create({x, (height - ItemHeight) / 2, ItemWidth, ItemHeight});
        tab->tag = BeginTag + i;
        tab->delegate = self<CMSlideMenuView>();
        tab->normalImage().setImage(normalImage);
        tab->pressedImage().setImage(pressedImage);
        tab->titleLabel().setText(titles[size_t(i)]);
        bgScrollView_->addSubview(tab);
        items_.push_back(tab);
    }
    bgScrollView_->setContentSize({(ItemWidth + ItemSpace) * float(count_) + ItemSpace, height});
}

void CMSlideMenuView::SetMenuItemWidth(float width, float topSpace, float, float space) {
    const float height = bounds().height();
    for (int i = 0; i < count_; ++i)
        items_[size_t(i)]->setFrame(
            {width * float(i) + space * float(i + 1), topSpace, width, height - 2 * topSpace});
    bgScrollView_->setContentSize({space + float(count_) * (width + space), height});
}

void CMSlideMenuView::SetSelectedItemIndex(int index) {
    for (int i = 0; i < count_; ++i)
        items_[size_t(i)]->SetPressed(i == index ? 1 : 0);
}

base::Opt<void> CMSlideMenuView::ReturnSelectedItem(CMSlideMenuItem &tapped) {
    for (auto &tab : items_)
        tab->SetPressed(tab.get() == &tapped ? 1 : 0);
    if (auto owner = delegate.lock())
        owner->ReturnSelectedIndex(tapped.tag - BeginTag, *this);
    return {};
}
