#include "Components/CMIndicator.h"

#include <algorithm>

CMIndicator::CMIndicator(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
    indicatorImage_ = base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width(), frame.height()},
                                                gfx::Image::named("vernier.png"));
    addSubview(indicatorImage_);
}

float CMIndicator::sliderX(const ui::Touch &touch) const {
    return touch.location(superview()).x;
}

void CMIndicator::touchesMoved(const ui::TouchSet &touches, const ui::Event &) {
    if (touches.empty() || delegate.expired())
        return;
    const float x = sliderX(*touches.front());
    if (x > leftLimit && x < rightLimit)
        setCenter({x, center().y});
}

void CMIndicator::touchesEnded(const ui::TouchSet &touches, const ui::Event &) {
    auto owner = delegate.lock();
    if (touches.empty() || !owner)
        return;
    const float x = std::clamp(sliderX(*touches.front()), leftLimit - LiftMargin, rightLimit + LiftMargin);
    owner->ReturnXscale(x);
}
