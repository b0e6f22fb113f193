#include "CMBannerView.h"

#include "gfx/Font.h"
#include "ui/Animator.h"

base::Ref<gfx::Color> riseColour(float difference) {
    if (difference > 0)
        return gfx::Color::red();
    if (difference < 0)
        return gfx::Color::green();
    return gfx::Color::white();
}

base::Ref<ui::Label> bannerLabel(float fontSize) {
    auto label = base::make<ui::Label>(gfx::Rect{});
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(gfx::Font::boldSystem(fontSize));
    return label;
}

// ---------------------------------------------------------------------------------------------
// BannerFaceView

BannerFaceView::BannerFaceView(gfx::Rect frame) : ui::View(frame) {}

void BannerFaceView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    base::Weak<BannerFaceView> weak = weakSelf<BannerFaceView>();
    tapRecognizer_ = base::make<ui::TapRecognizer>();
    tapRecognizer_->addTarget(base::Action("handleTapEvent:", [weak](base::Object *) {
        if (auto alive = weak.lock())
            alive->handleTapEvent();
    }));
    addGestureRecognizer(tapRecognizer_);
}

void BannerFaceView::handleTapEvent() {
    if (auto listener = delegate.lock())
        listener->ReturnSelected(gridID);
}

// ---------------------------------------------------------------------------------------------
// CMBannerView

CMBannerView::CMBannerView(gfx::Rect frame, const char *transitionType, const char *transitionSubtype)
    : ui::View(frame), transitionType_(transitionType), transitionSubtype_(transitionSubtype) {}

void CMBannerView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_ = makeFace(face);
    second_ = makeFace(face);
    for (const auto &view : {first_, second_}) {
        view->delegate = weakSelf<CMBannerView>();
        addSubview(view);
    }
    second_->setHidden(true);
}

CMBannerView::~CMBannerView() {
    if (timer_)
        timer_->invalidate();
}

void CMBannerView::entriesArrived() {
    fill(*first_);
    if (!timer_)
        startSwitch();
}

void CMBannerView::fill(BannerFaceView &face) {
    if (iIndex_ < 0 || size_t(iIndex_) >= entryCount())
        iIndex_ = 0;
    showEntry(face, size_t(iIndex_));
    face.gridID = iIndex_;
}

void CMBannerView::startSwitch() {
    base::Weak<CMBannerView> weak = weakSelf<CMBannerView>();
    timer_ = base::Timer::scheduled(SwitchInterval, false, base::Action("switchStep", [weak](base::Object *) {
                                        if (auto alive = weak.lock())
                                            alive->switchStep();
                                    }));
}

void CMBannerView::switchStep() {
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::typeNamed(transitionType_);
    transition->subtype = ui::Transition::subtypeNamed(transitionSubtype_);
    transition->duration = TransitionDuration;
    // The transition keeps what shows now as the face that turns away: it starts before the
    // next entry is filled in.
    layer().addTransition(transition, "animation");
    iIndex_ = size_t(iIndex_ + 1) >= entryCount() ? 0 : iIndex_ + 1;
    fill(*second_);
    first_->setHidden(true);
    second_->setHidden(false);
    startSwitch();
}

void CMBannerView::layoutSubviews() {
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_->setFrame(face);
    second_->setFrame(face);
}
