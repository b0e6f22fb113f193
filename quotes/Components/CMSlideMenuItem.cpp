#include "Components/CMSlideMenuItem.h"

base::Ref<CMSlideMenuItem> CMSlideMenuItem::create(gfx::Rect frame) {
    struct Made : CMSlideMenuItem {
        explicit Made(gfx::Rect frame) : CMSlideMenuItem(frame) {}
    };
    base::Ref<CMSlideMenuItem> item = base::make<Made>(frame);
    item->initData();
    item->initUI({0, 0, frame.width(), frame.height()});
    return item;
}

CMSlideMenuItem::CMSlideMenuItem(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
}

void CMSlideMenuItem::initData() {
    tapRecognizer_ = base::make<ui::TapRecognizer>(BASE_ACTION(this, handleTapEvent));
    addGestureRecognizer(tapRecognizer_);
}

void CMSlideMenuItem::initUI(gfx::Rect rect) {
    pressedImage_ = base::make<ui::ImageView>(rect);
    addSubview(pressedImage_);
    normalImage_ = base::make<ui::ImageView>(rect);
    addSubview(normalImage_);
    titleLabel_ = base::make<ui::Label>(rect);
    titleLabel_->setTextColor(gfx::Color::white());
    titleLabel_->setFont(gfx::Font::boldSystem(14));
    titleLabel_->setTextAlignment(gfx::Align::Center);
    titleLabel_->setBackgroundColor(gfx::Color::clear());
    addSubview(titleLabel_);
}

void CMSlideMenuItem::layoutSubviews() {
    const gfx::Rect rect{0, 0, bounds().width(), bounds().height()};
    for (ui::View *part :
         {(ui::View *)pressedImage_.get(), (ui::View *)normalImage_.get(), (ui::View *)titleLabel_.get()})
        part->setFrame(rect);
}

void CMSlideMenuItem::SetPressed(unsigned pressed) {
    if (pressed > 1)
        return;
    normalImage_->setHidden(pressed == 1);
    pressedImage_->setHidden(pressed == 0);
}

void CMSlideMenuItem::handleTapEvent(ui::GestureRecognizer *) {
    if (auto owner = delegate.lock())
        owner->ReturnSelectedItem(*this);
}
