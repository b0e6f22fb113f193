#include "Components/CMProgressWaitingView.h"

#include "gfx/Image.h"

CMProgressWaitingView::CMProgressWaitingView(gfx::Rect frame) : ui::View(frame) {
    initUI({0, 0, frame.width(), frame.height()});
}

void CMProgressWaitingView::initUI(gfx::Rect rect) {
    setBackgroundColor(gfx::Color::darkGray());
    const float third = rect.width() / 3;
    auto segment = [&](int index, const char *picture) {
        auto view = base::make<ui::ImageView>(gfx::Rect{third * float(index), 0, third, rect.height()},
                                              gfx::Image::named(picture));
        addSubview(view);
        return view;
    };
    redImageView_ = segment(0, "red_line.png");
    yellowImageView_ = segment(1, "yellow_line.png");
    blueImageView_ = segment(2, "blue_line.png");
}

bool CMProgressWaitingView::isAnimating() const {
    base::Ref<base::Timer> timer = timer_.lock();
    return timer && timer->isValid();
}

void CMProgressWaitingView::StartAnimating() {
    if (isAnimating()) {
        StopAnimating();
        return;
    }
    timer_ = base::Timer::scheduled(StepSeconds, true, BASE_ACTION(this, switchAction));
}

void CMProgressWaitingView::StopAnimating() {
    if (base::Ref<base::Timer> timer = timer_.lock())
        timer->invalidate();
    timer_.reset();
}

void CMProgressWaitingView::switchAction(base::Timer *) {
    iStep_ = (iStep_ + 1) % 3;
    redImageView_->setHidden(iStep_ == 1);
    yellowImageView_->setHidden(iStep_ == 2);
    blueImageView_->setHidden(iStep_ == 0);
}
