#include "CMOverturnShowerView.h"

#include "base/Str.h"
#include "gfx/Font.h"

CMOverturnShowerView::CMOverturnShowerView(gfx::Rect frame) : ui::View(frame) {}

void CMOverturnShowerView::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    base::Weak<CMOverturnShowerView> weak = weakSelf<CMOverturnShowerView>();
    tapRecognizer_ = base::make<ui::TapRecognizer>();
    tapRecognizer_->addTarget(base::Action("handleTapEvent:", [weak](base::Object *) {
        if (auto alive = weak.lock())
            alive->handleTapEvent();
    }));
    addGestureRecognizer(tapRecognizer_);

    imageView_ = base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("marqueeBg.png"));
    imageView_->setAlpha(1);
    addSubview(imageView_);
    addSubview(
        base::make<ui::ImageView>(gfx::Rect{0, -1, 90, h + 2}, gfx::Image::named("marqueeTitleBg.png")));
    auto plate = base::make<ui::Label>(gfx::Rect{5, -2, 70, h});
    plate->setFont(gfx::Font::boldSystem(15));
    plate->setTextColor(gfx::Color::white());
    plate->setTextAlignment(gfx::Align::Center);
    plate->setBackgroundColor(gfx::Color::clear());
    plate->setText("最新资讯");
    addSubview(plate);
    switchTitleLabel_ = base::make<ui::Label>(gfx::Rect{TitleX, 0, w - TitleX, h});
    switchTitleLabel_->setTextColor(gfx::Color::black());
    switchTitleLabel_->setFont(gfx::Font::system(14));
    switchTitleLabel_->setBackgroundColor(gfx::Color::clear());
    addSubview(switchTitleLabel_);
}

CMOverturnShowerView::~CMOverturnShowerView() {
    if (timer_)
        timer_->invalidate();
}

void CMOverturnShowerView::layoutSubviews() {
    float w = bounds().width(), h = bounds().height();
    imageView_->setFrame({0, 0, w, h});
    switchTitleLabel_->setFrame({TitleX, 0, w - TitleX, h});
}

void CMOverturnShowerView::addTitleToArray(const base::Value &item) {
    titleArray_.add(item);
    if (isFirstShow_) {
        isFirstShow_ = false;
        switchTitleLabel_->setText(getNewsTitle(switchIndex_));
        startSwitch();
    } else if (!cycling_) {
        // The cycle ended on an empty list and the label is faded out: start again from the top.
        cycling_ = true;
        showItem(0);
    }
}

void CMOverturnShowerView::removeAllTitle() {
    titleArray_ = base::Array();
}

std::string CMOverturnShowerView::getNewsTitle(int index) const {
    if (index < 0 || size_t(index) >= titleArray_.size())
        return "--";
    const base::Value &item = titleArray_[size_t(index)];
    return base::str::format("%@ %@", item["otime"].stringValue(), item["title"].stringValue());
}

void CMOverturnShowerView::startSwitch() {
    cycling_ = true;
    base::Weak<CMOverturnShowerView> weak = weakSelf<CMOverturnShowerView>();
    timer_ = base::Timer::scheduled(SwitchInterval, false, base::Action("switchStep", [weak](base::Object *) {
                                        if (auto alive = weak.lock())
                                            alive->switchStep();
                                    }));
}

void CMOverturnShowerView::switchStep() {
    fadeTitle(0, ui::Curve::EaseOut, &CMOverturnShowerView::didSwitchStep);
}

void CMOverturnShowerView::fadeTitle(float alpha, ui::Curve curve, void (CMOverturnShowerView::*then)()) {
    base::Weak<CMOverturnShowerView> weak = weakSelf<CMOverturnShowerView>();
    ui::View::beginAnimations("SwitchTitle");
    ui::View::setAnimationCurve(curve);
    ui::View::setAnimationDuration(FadeDuration);
    ui::View::setAnimationDidStop([weak, then](const std::string &, bool) {
        if (auto alive = weak.lock())
            (alive.get()->*then)();
    });
    switchTitleLabel_->setAlpha(alpha);
    ui::View::commitAnimations();
}

void CMOverturnShowerView::didSwitchStep() {
    if (titleArray_.empty()) {
        cycling_ = false;
        return;
    }
    showItem(size_t(switchIndex_ + 1) >= titleArray_.size() ? 0 : switchIndex_ + 1);
}

void CMOverturnShowerView::showItem(int index) {
    switchIndex_ = index;
    switchTitleLabel_->setText(getNewsTitle(switchIndex_));
    fadeTitle(1, ui::Curve::EaseIn, &CMOverturnShowerView::startSwitch);
}

void CMOverturnShowerView::handleTapEvent() {
    if (switchIndex_ < 0 || size_t(switchIndex_) >= titleArray_.size())
        return;
    if (auto listener = delegate.lock())
        listener->EnterNewsDetail(titleArray_[size_t(switchIndex_)]["url"].stringValue());
}
