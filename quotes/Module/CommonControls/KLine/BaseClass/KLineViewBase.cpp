#include "KLineViewBase.h"

#include "base/RunLoop.h"

struct KLineViewBase::TouchFilter : ui::GestureDelegate {
    base::Weak<KLineViewBase> view;

    base::Opt<bool> shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch) override {
        auto v = view.lock();
        if (!v || !v->shouldReceiveTouch(recognizer, touch))
            return false;
        v->m_touchDownPoint = touch.location(v.get());
        return true;
    }
    // A single tap recognises at the first lift while a double tap still waits for the second:
    // both run, and the delayed singleTap is what the double tap cancels.
    base::Opt<bool> simultaneously(ui::GestureRecognizer &a, ui::GestureRecognizer &b) override {
        return dynamic_cast<ui::TapRecognizer *>(&a) && dynamic_cast<ui::TapRecognizer *>(&b);
    }
};

KLineViewBase::KLineViewBase(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
}

KLineViewBase::~KLineViewBase() {
    CMWaitingAlertView::StopWaitingAlert(waitingAlert);
    base::RunLoop::main().cancelPerforms(this);
}

void KLineViewBase::setUp() {
    ui::View::setUp();
    filter_ = base::make<TouchFilter>();
    filter_->view = weakSelf<KLineViewBase>();
}

template <class R> base::Ref<R> KLineViewBase::install(base::Action action) {
    auto recognizer = base::make<R>(std::move(action));
    recognizer->delegate = filter_;
    addGestureRecognizer(recognizer);
    return recognizer;
}

void KLineViewBase::addTap() {
    install<ui::TapRecognizer>(BASE_ACTION(this, handleTapFrom));
}

void KLineViewBase::addDblTap() {
    install<ui::TapRecognizer>(BASE_ACTION(this, handleDblTapFrom))->tapsRequired = 2;
}

void KLineViewBase::addPan() {
    auto pan = install<ui::PanRecognizer>(BASE_ACTION(this, handlePanFrom));
    pan->minTouches = pan->maxTouches = 1;
}

void KLineViewBase::addDblPan() {
    auto pan = install<ui::PanRecognizer>(BASE_ACTION(this, handleDblPanFrom));
    pan->minTouches = pan->maxTouches = 2;
}

void KLineViewBase::addPinch() {
    install<ui::PinchRecognizer>(BASE_ACTION(this, handlePinchFrom));
}

void KLineViewBase::addLongPress() {
    install<ui::LongPressRecognizer>(BASE_ACTION(this, handleLongPressFrom));
}

bool KLineViewBase::shouldReceiveTouch(ui::GestureRecognizer &, const ui::Touch &touch) {
    const ui::View *touched = touch.view();
    return touched && touched->tag == tag;
}

void KLineViewBase::handleTapFrom(ui::TapRecognizer *) {
    m_tapPoint = m_touchDownPoint;
    base::RunLoop::main().performAfter(TapDelay, BASE_ACTION(this, singleTap));
}

void KLineViewBase::handleDblTapFrom(ui::TapRecognizer *) {
    base::RunLoop::main().cancelPerforms(this, "singleTap");
    base::RunLoop::main().performAfter(TapDelay, BASE_ACTION(this, doubleTap));
}

void KLineViewBase::StartWaitingAlert(gfx::Rect rect) {
    waitingAlert =
        CMWaitingAlertView::StartWaitingAlert(waitingAlert, *this, {0, 0, rect.width(), rect.height()});
    isShowWaitingAlert_ = true;
}

void KLineViewBase::StopWaitingAlert() {
    CMWaitingAlertView::StopWaitingAlert(waitingAlert);
    waitingAlert.reset();
    isShowWaitingAlert_ = false;
}

gfx::Point KLineViewBase::panPoint(const ui::PanRecognizer &recognizer) {
    const gfx::Point t = recognizer.translation(this);
    if (recognizer.state() == ui::GestureState::Began) {
        const gfx::Point at = recognizer.location(this);
        panOrigin_ = {at.x - t.x, at.y - t.y};
    }
    return {panOrigin_.x + t.x, panOrigin_.y + t.y};
}
