#pragma once

#include "base/Object.h"
#include "base/Timer.h"
#include "ui/View.h"

#include <functional>
#include <vector>

namespace ui {

class ScrollView;
class PanRecognizer;

// What a scroll view tells its owner, in the order a drag produces them: will-begin-dragging,
// did-scroll for every change of offset (the program's own included), did-end-dragging with whether
// the content goes on moving, then will-begin-decelerating and did-end-decelerating when it does.
// An animated setContentOffset ends with did-end-scrolling-animation instead.
struct ScrollViewDelegate : base::Object {
    virtual base::Opt<void> didScroll(ScrollView &) { return base::notImplemented; }
    virtual base::Opt<void> willBeginDragging(ScrollView &) { return base::notImplemented; }
    virtual base::Opt<void> didEndDragging(ScrollView &, bool) { return base::notImplemented; }
    virtual base::Opt<void> willBeginDecelerating(ScrollView &) { return base::notImplemented; }
    virtual base::Opt<void> didEndDecelerating(ScrollView &) { return base::notImplemented; }
    virtual base::Opt<void> didEndScrollingAnimation(ScrollView &) { return base::notImplemented; }
};

// A view whose bounds origin is the content offset: the finger (or the mouse wheel) moves the
// content within the content size plus the content inset.
//
// Physics, which the owners' callbacks rely on:
//   - past an edge the content follows the finger at half speed (when it bounces on that axis,
//     else it stops at the edge);
//   - a release faster than ReleaseSpeed points per second decelerates: the speed is multiplied by
//     the deceleration rate every millisecond (the rate is clamped to MaximumRate), so a rate of 0
//     stops at the next frame and 0.1 within a few points;
//   - a release past an edge springs back in BounceDuration; with paging the content settles on
//     the nearest page (the next one in the direction of a fast release);
//   - isDecelerating() is already false inside did-end-dragging(false) and did-end-decelerating.
// Touches on the content reach it ContentTouchDelay seconds late (or at once when the finger lifts
// sooner) and are cancelled when a drag begins, so buttons on a sliding strip do not fire.
class ScrollView : public View {
public:
    static constexpr float NormalRate = 0.998f, FastRate = 0.99f, MaximumRate = 0.999f;
    static constexpr float ReleaseSpeed = 50;
    static constexpr double BounceDuration = 0.35, PagingDuration = 0.3, AnimationDuration = 0.3;
    static constexpr double ContentTouchDelay = 0.15;
    static constexpr double WheelRestDelay = 0.2;

    explicit ScrollView(gfx::Rect frame = {});
    ~ScrollView() override;

    gfx::Point contentOffset() const { return bounds().o; }
    // Sends did-scroll when the offset changes. Animated, it moves there over AnimationDuration
    // and then sends did-end-scrolling-animation. Any running motion stops first.
    void setContentOffset(gfx::Point offset, bool animated = false);
    gfx::Size contentSize() const { return contentSize_; }
    // Tells the content-size observers when the size changes.
    void setContentSize(gfx::Size size);
    void onContentSizeChange(std::function<void(gfx::Size)> observer);
    const gfx::EdgeInsets &contentInset() const { return inset_; }
    // While the content rests, an offset left outside the new limits moves inside them (inside an
    // animation block, on screen too).
    void setContentInset(gfx::EdgeInsets inset);
    // The range the offset rests in: from (−left, −top) to the far content edge plus the inset.
    gfx::Point minimumOffset() const;
    gfx::Point maximumOffset() const;
    // Scrolls the least distance that shows the rectangle (in content coordinates).
    void scrollRectToVisible(gfx::Rect rect, bool animated);
    // Moves the content by a distance within its limits, as the mouse wheel does. The wheel turns
    // in steps: once no step has come for WheelRestDelay, the content has come to rest and
    // did-end-decelerating tells the owner so, as after a drag (a finger that comes down first
    // takes over).
    void scrollBy(gfx::Point delta);

    bool scrollEnabled = true;
    bool pagingEnabled = false;
    bool bounces = true;
    bool alwaysBounceHorizontal = false;
    bool alwaysBounceVertical = false;
    bool directionalLockEnabled = false;
    bool delaysContentTouches = true;
    bool showsHorizontalScrollIndicator = true;
    bool showsVerticalScrollIndicator = true;
    bool scrollsToTop = true;
    bool bouncesZoom = true;
    float minimumZoomScale = 1, maximumZoomScale = 1;
    enum class Indicators { Default, Black, White } indicatorStyle = Indicators::Default;
    float decelerationRate = NormalRate;

    bool isTracking() const;
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }

    base::Weak<ScrollViewDelegate> delegate;

    double contentTouchDelay() const override;

    // Called by the scroll view's own pan recogniser.
    // Whether the finger that came down on the view may drag the content.
    bool fingerDown(const View *on);
    bool canScroll(bool horizontal) const;

protected:
    // The delegate scroll events go to; tables answer with their own delegate.
    virtual base::Ref<ScrollViewDelegate> scrollDelegate() const { return delegate.lock(); }
    // The offset changed; runs before the delegate hears of it.
    virtual void offsetChanged() {}
    // Whether a finger that came down on this descendant may drag the content (a table keeps the
    // fingers on its reorder grips and index strip).
    virtual bool scrollsForTouch(const View *) const { return true; }

private:
    enum class Motion { None, Decelerating, Settling, Animating };
    void panned();
    void release(gfx::Point velocity);
    void moveTo(gfx::Point offset);
    gfx::Point clamped(gfx::Point offset) const;
    gfx::Point pageFor(gfx::Point velocity) const;
    void settle(gfx::Point target, double duration, Motion kind);
    void startTicking();
    void tick();
    void stopMotion();
    void endMotion();
    bool bouncesOn(bool horizontal) const;

    base::Ref<PanRecognizer> pan_;
    gfx::Size contentSize_;
    gfx::EdgeInsets inset_;
    std::vector<std::function<void(gfx::Size)>> sizeObservers_;
    bool dragging_ = false, decelerating_ = false;
    gfx::Point dragStart_;
    enum class Lock { None, Horizontal, Vertical } lock_ = Lock::None;
    Motion motion_ = Motion::None;
    base::Ref<base::Timer> ticker_;
    double lastTick_ = 0;
    gfx::Point velocity_; // points per millisecond
    gfx::Point from_, to_;
    double start_ = 0, duration_ = 0;
};

} // namespace ui
