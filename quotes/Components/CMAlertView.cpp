#include "Components/CMAlertView.h"

#include "base/Timer.h"
#include "gfx/Image.h"
#include "ui/Host.h"

CMAlertView::CMAlertView(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
    initUI({0, 0, frame.width(), frame.height()});
}

void CMAlertView::initUI(gfx::Rect rect) {
    base::Ref<gfx::Image> box = gfx::Image::named("alert_bg.png");
    backgroundImage_ = base::make<ui::ImageView>(rect, box ? box->stretchable(10, 10) : nullptr);
    addSubview(backgroundImage_);

    infoLabel_ = base::make<ui::Label>(rect);
    infoLabel_->setNumberOfLines(0);
    infoLabel_->setFont(gfx::Font::boldSystem(15));
    infoLabel_->setTextColor(gfx::Color::white());
    infoLabel_->setTextAlignment(gfx::Align::Center);
    addSubview(infoLabel_);
}

void CMAlertView::SetAlertInfoText(const std::string &text) {
    infoLabel_->setText(text);
    base::Timer::scheduled(ShowSeconds, false, BASE_ACTION(this, WaitingForAlertShow));
    if (ui::Host *host = ui::Host::current())
        host->toastShown(text, *this);
}

void CMAlertView::WaitingForAlertShow() {
    removeFromSuperview();
}

void CMAlertView::layoutSubviews() {
    backgroundImage_->setFrame(bounds());
}
