#include "Module/FrontSwitchTabBarView/FrontSwitchTabBarView.h"

#include "gfx/Font.h"

FrontSwitchTabBarView::FrontSwitchTabBarView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void FrontSwitchTabBarView::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    buttonImage_ = base::make<ui::ImageView>(gfx::Rect{{0, h - MarkerSize.h}, MarkerSize},
                                             gfx::Image::named("triangle.png"));
    backgroundImage_ = base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("ToolBarBg.png"));
    upLine_ = base::make<ui::ImageView>(gfx::Rect{0, 0, w, EdgeLine}, gfx::Image::named("grayLine.png"));
    downLine_ =
        base::make<ui::ImageView>(gfx::Rect{0, h - EdgeLine, w, EdgeLine}, gfx::Image::named("grayLine.png"));
    addSubview(backgroundImage_);
    addSubview(upLine_);
    addSubview(downLine_);
    addSubview(buttonImage_);
}

float FrontSwitchTabBarView::tabWidth(float width, size_t count) {
    if (count == 0)
        return 0;
    return (width - 2 * Margin - Gap * float(count - 1)) / float(count);
}

void FrontSwitchTabBarView::SetButtonArray(const std::vector<std::string> &titles) {
    if (titles.empty())
        return;
    for (size_t i = 0; i < titles.size(); ++i) {
        auto button = ui::Button::custom();
        button->tag = FirstTag + int(i);
        button->setBackgroundColor(gfx::Color::clear());
        button->setTitle(titles[i]);
        button->titleLabel().setFont(gfx::Font::boldSystem(TitleFontSize));
        button->titleLabel().setShadowOffset({1.2f, 1.2f});
        button->setTitleShadowColor(gfx::Color::black());
        button->setTitleColor(gfx::Color::rgba(191 / 255.f, 217 / 255.f, 224 / 255.f));
        button->setTitleColor(gfx::Color::rgba(0, 1, 210 / 255.f), ui::Disabled);
        button->addTarget(BASE_ACTION(this, SelectedItemAction), ui::TouchUpInside);
        tabArray_.push_back(button);
        addSubview(button);
        if (i + 1 < titles.size()) {
            auto dot =
                base::make<ui::ImageView>(gfx::Rect{{0, 0}, SeparatorSize}, gfx::Image::named("dotLine.png"));
            dotLineArray_.push_back(dot);
            addSubview(dot);
        }
    }
    bringSubviewToFront(buttonImage_.get());
    layoutTabs();
    SelectedTag = 0;
    tabArray_.front()->setEnabled(false);
    buttonImage_->setFrame(markerFrame(*tabArray_.front()));
}

void FrontSwitchTabBarView::layoutTabs() {
    float w = bounds().width(), h = bounds().height();
    float t = tabWidth(w, tabArray_.size());
    for (size_t i = 0; i < tabArray_.size(); ++i)
        tabArray_[i]->setFrame({Margin + float(i) * (t + Gap), 0, t, h});
    for (size_t i = 0; i < dotLineArray_.size(); ++i)
        dotLineArray_[i]->setFrame({Margin + float(i + 1) * t + Gap * float(i) + Gap / 2,
                                    h / 2 - SeparatorSize.h / 2, SeparatorSize.w, SeparatorSize.h});
    backgroundImage_->setFrame({0, 0, w, h});
    upLine_->setFrame({0, 0, w, EdgeLine});
    downLine_->setFrame({0, h - EdgeLine, w, EdgeLine});
}

void FrontSwitchTabBarView::layoutSubviews() {
    layoutTabs();
    if (ui::Button *selected = buttonAt(SelectedTag))
        buttonImage_->setFrame(markerFrame(*selected));
}

gfx::Rect FrontSwitchTabBarView::markerFrame(const ui::Button &button) const {
    gfx::Rect f = button.frame();
    return {f.x() + f.width() / 2 - MarkerSize.w / 2, f.height() - MarkerSize.h, MarkerSize.w, MarkerSize.h};
}

ui::Button *FrontSwitchTabBarView::buttonAt(int index) const {
    return index >= 0 && size_t(index) < tabArray_.size() ? tabArray_[size_t(index)].get() : nullptr;
}

void FrontSwitchTabBarView::SetCurrSelectedTab(int index) {
    ui::Button *button = buttonAt(index);
    if (!button)
        return;
    SelectedTag = index;
    SelectedItemAction(button);
}

void FrontSwitchTabBarView::SelectedItemAction(ui::Button *button) {
    if (!button)
        return;
    ui::View::beginAnimations("MoveBgImage");
    ui::View::setAnimationDuration(MarkerSeconds);
    buttonImage_->setFrame(markerFrame(*button));
    ui::View::commitAnimations();
    base::Ref<ui::View> alive = self<ui::View>();
    std::string title = button->titleForState(ui::Normal);
    for (size_t i = 0; i < tabArray_.size(); ++i) {
        ui::Button &tab = *tabArray_[i];
        if (tab.titleForState(ui::Normal) != title) {
            tab.setEnabled(true);
            continue;
        }
        if (hasPreTitle_ && title == preTitle_)
            continue;
        SelectedTag = int(i);
        preTitle_ = title;
        hasPreTitle_ = true;
        button->setEnabled(false);
        if (auto d = delegate.lock()) {
            d->SelectedTabItem(*button);
            if (auto again = delegate.lock())
                again->frontSwitchTabBarView_didSelectTabItem(button->tag - FirstTag, title);
        }
    }
}
