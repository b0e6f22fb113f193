#include "Components/CMWaitingAlertView.h"

#include "gfx/Image.h"

#include <functional>

namespace {

constexpr float SpinnerSide = 30, BoxWidth = 100, BoxHeight = 80;

} // namespace

CMWaitingAlertView::CMWaitingAlertView(gfx::Rect frame) : ui::View(frame), alertFrame_(frame) {
    opaque = false;
    userInteractionEnabled = false;
}

void CMWaitingAlertView::initUI(gfx::Rect) {
    if (alertType_ == 0 && !backgroundImage_) {
        base::Ref<gfx::Image> box = gfx::Image::named("alert_bg.png");
        backgroundImage_ = base::make<ui::ImageView>(box ? box->stretchable(8, 8) : nullptr);
        infoLabel_ = base::make<ui::Label>(gfx::Rect{0, 30, BoxWidth, 50});
        infoLabel_->setNumberOfLines(0);
        infoLabel_->setFont(gfx::Font::system(15));
        infoLabel_->setTextColor(gfx::Color::white());
        infoLabel_->setTextAlignment(gfx::Align::Center);
        backgroundImage_->addSubview(infoLabel_);
        addSubview(backgroundImage_);
    }
    if (!activityIndicator_) {
        activityIndicator_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::White);
        addSubview(activityIndicator_);
    }
    if (backgroundImage_)
        backgroundImage_->setHidden(alertType_ != 0);
    setNeedsLayout();
}

void CMWaitingAlertView::StartAlertWithInfo(const std::string &info, float fontSize) {
    alertType_ = 0;
    initUI(bounds());
    infoLabel_->setText(info.empty() ? DefaultText : info);
    if (fontSize != 0)
        infoLabel_->setFont(gfx::Font::system(fontSize));
    activityIndicator_->start();
}

void CMWaitingAlertView::StartAlert() {
    alertType_ = 1;
    initUI(bounds());
    activityIndicator_->start();
}

void CMWaitingAlertView::StopWaitingAlert() {
    if (activityIndicator_)
        activityIndicator_->stop();
    removeFromSuperview();
}

void CMWaitingAlertView::layoutSubviews() {
    const float w = alertFrame_.width(), h = alertFrame_.height();
    if (alertType_ == 1) {
        if (activityIndicator_)
            activityIndicator_->setFrame(
                {(w - SpinnerSide) / 2, (h - SpinnerSide) / 2, SpinnerSide, SpinnerSide});
        return;
    }
    const float boxY = (h - BoxHeight) / 2;
    if (backgroundImage_)
        backgroundImage_->setFrame({(w - BoxWidth) / 2, boxY, BoxWidth, BoxHeight});
    if (activityIndicator_)
        activityIndicator_->setFrame({(w - SpinnerSide) / 2, boxY + 10, SpinnerSide, SpinnerSide});
}

namespace {

base::Weak<CMWaitingAlertView> moveOrStart(const base::Weak<CMWaitingAlertView> &existing,
                                           ui::View &parentView, gfx::Rect rect,
                                           const std::function<void(CMWaitingAlertView &)> &start) {
    if (base::Ref<CMWaitingAlertView> view = existing.lock()) {
        view->setFrame(rect);
        return view;
    }
    auto view = base::make<CMWaitingAlertView>(rect);
    start(*view);
    parentView.addSubview(view);
    return view;
}

} // namespace

base::Weak<CMWaitingAlertView>
CMWaitingAlertView::StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing, ui::View &parentView,
                                      gfx::Rect rect) {
    return moveOrStart(existing, parentView, rect, [](CMWaitingAlertView &view) { view.StartAlert(); });
}

base::Weak<CMWaitingAlertView>
CMWaitingAlertView::StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing, ui::View &parentView) {
    const gfx::Rect bounds = parentView.bounds();
    return StartWaitingAlert(existing, parentView, gfx::Rect{0, 0, bounds.width(), bounds.height()});
}

base::Weak<CMWaitingAlertView>
CMWaitingAlertView::StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing, ui::View &parentView,
                                      gfx::Rect rect, const std::string &text) {
    return moveOrStart(existing, parentView, rect,
                       [&](CMWaitingAlertView &view) { view.StartAlertWithInfo(text, 12); });
}

void CMWaitingAlertView::StopWaitingAlert(const base::Weak<CMWaitingAlertView> &view) {
    if (base::Ref<CMWaitingAlertView> alive = view.lock())
        alive->StopWaitingAlert();
}
