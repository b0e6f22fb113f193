#pragma once

#include "Components/CMWaitingAlertView.h"
#include "ui/Gesture.h"
#include "ui/View.h"

// The common base of the chart views (candlestick, its cross-hair overlay, the intraday views). It
// installs the gesture recognisers the subclass asks for, keeps the touches of subviews (buttons,
// the cross-hair overlay) away from them, turns a tap into a delayed singleTap so that a double tap
// can still cancel it, and lays a waiting indicator over the chart while data loads.
//
// Subclasses call the add… operations from their set-up and override the handlers they need; the
// base handlers of long press, pan and pinch do nothing.
class KLineViewBase : public ui::View {
public:
    // How long a tap waits before it counts as a single tap.
    static constexpr double TapDelay = 0.15;

    explicit KLineViewBase(gfx::Rect frame);
    ~KLineViewBase() override;

    void setUp() override;

    // One recogniser each, with this view as its listener.
    void addTap();
    void addDblTap();
    void addPan();    // exactly one finger
    void addDblPan(); // exactly two fingers
    void addPinch();
    void addLongPress();

    // Accepts a touch only when the touched view carries this view's tag.
    virtual bool shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch);

    // Stores where the finger came down and schedules singleTap after TapDelay.
    virtual void handleTapFrom(ui::TapRecognizer *recognizer);
    // Cancels a pending singleTap and schedules doubleTap after TapDelay.
    virtual void handleDblTapFrom(ui::TapRecognizer *recognizer);
    virtual void handleLongPressFrom(ui::LongPressRecognizer *) {}
    virtual void handlePanFrom(ui::PanRecognizer *) {}
    virtual void handleDblPanFrom(ui::PanRecognizer *) {}
    virtual void handlePinchFrom(ui::PinchRecognizer *) {}
    virtual void singleTap() {}
    virtual void doubleTap() {}

    // A spinner over (0, 0, rect width, rect height) of this view; an indicator already shown moves
    // there.
    void StartWaitingAlert(gfx::Rect rect);
    // Removes the indicator; nothing when none is shown.
    void StopWaitingAlert();
    bool isShowWaitingAlert() const { return isShowWaitingAlert_; }

    gfx::Point tapPoint() const { return m_tapPoint; }

    // The finger's point of a pan measured from where it went down: a pan recogniser begins only
    // after the finger has moved some way, and holds no touch any more when it ends.
    gfx::Point panPoint(const ui::PanRecognizer &recognizer);
    // Where the finger of the last pan went down.
    gfx::Point panOrigin() const { return panOrigin_; }

protected:
    // Point of the last tap or long press, in this view's space.
    gfx::Point m_tapPoint;
    // Where the last finger the recognisers accepted came down, in this view's space: a tap
    // recogniser holds no touch any more when it reports the lift.
    gfx::Point m_touchDownPoint;
    base::Weak<CMWaitingAlertView> waitingAlert;

private:
    struct TouchFilter;
    template <class R> base::Ref<R> install(base::Action action);

    base::Ref<TouchFilter> filter_;
    gfx::Point panOrigin_;
    bool isShowWaitingAlert_ = false;
};
