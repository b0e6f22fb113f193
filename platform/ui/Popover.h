#pragma once

#include "ui/ViewController.h"

#include <vector>

namespace ui {

class Popover;

// The arrows a popover may point with at its anchor; Up means the popover lies below the anchor.
enum Arrow : unsigned { ArrowUp = 1, ArrowDown = 2, ArrowLeft = 4, ArrowRight = 8, ArrowAny = 15 };

struct PopoverDelegate : base::Object {
    // Asked on a tap outside the popover; "no" keeps it open.
    virtual base::Opt<bool> shouldDismiss(Popover &) { return base::notImplemented; }
    // Sent after a tap outside closed it (never after dismiss()).
    virtual base::Opt<void> didDismiss(Popover &) { return base::notImplemented; }
};

// A content controller's view in a dark rounded frame with an arrow pointing at an anchor, on the
// window's popover layer: above every screen and modal sheet, below alerts.
//
// Placement: the anchor rectangle is taken to window coordinates and the permitted directions are
// tried in the order up (the popover below the anchor), down, left, right; the first whose side of
// the application frame, less a 10-point margin, holds the popover wins. When none does, the side
// with the most room wins and the content is shortened to fit. The popover is centred on the anchor
// along that side and kept inside the margins; the arrow's tip sits on the anchor's edge.
//
// Size: the popover's own content size when set, else the content controller's size in a popover,
// plus the 44-point bar when the content is a navigation controller showing its bar. A push or pop
// inside, or a new size, moves the popover to the new size over the navigation slide's 0.35 s.
//
// Presenting does not wait: the popover shows and the call returns. A tap outside asks the
// delegate's shouldDismiss, closes the popover and sends didDismiss; the tap goes nowhere else.
// dismiss() from the program sends nothing. Presenting a visible popover again moves it to the new
// anchor. A second popover opens above the first; a tap outside closes only the top one. When the
// on-screen keyboard comes up over a popover, the popover moves up out of its way (shortened if it
// must be) and goes back when the keyboard hides. While a
// popover shows, the layer keeps it alive; the delegate is not retained, and one that is gone is
// skipped.
class Popover : public base::Object {
public:
    static constexpr float Margin = 10, Border = 8, ArrowWidth = 26, ArrowDepth = 13, CornerRadius = 8;
    static constexpr double FadeDuration = 0.2, ResizeDuration = 0.35;

    explicit Popover(base::Ref<ViewController> content);
    ~Popover() override;
    void setUp() override;

    ViewController &content() const { return *content_; }
    void setContent(base::Ref<ViewController> content, bool animated);
    // The size of the content area; an empty size (the default) defers to the content controller.
    gfx::Size contentSize() const;
    void setContentSize(gfx::Size size, bool animated);

    void presentFromRect(gfx::Rect rect, View &in, unsigned permittedArrows, bool animated);
    void dismiss(bool animated);
    bool isVisible() const { return visible_; }

    Arrow arrowDirection() const { return arrow_; }
    // The framed box in window coordinates (the arrow lies outside it), and the arrow's tip.
    gfx::Rect frame() const { return box_; }
    gfx::Point arrowTip() const { return tip_; }
    // Views whose touches pass the popover while it shows. None is set by the application.
    std::vector<base::Weak<View>> passthroughViews;
    base::Weak<PopoverDelegate> delegate;

    // The popovers on screen, the top one last.
    static std::vector<base::Ref<Popover>> visiblePopovers();

private:
    friend class ViewController;
    class Catcher;
    class Frame;
    void contentSizeChanged(bool animated);
    // Places the popover for the anchor and size; animated moves are a resize.
    void place(bool animated);
    gfx::Size wantedSize() const;
    void outsideTap();
    bool keepsOpen() const;
    void attachContent();

    base::Ref<ViewController> content_;
    gfx::Size size_;
    base::Ref<Frame> frame_;
    base::Ref<Catcher> catcher_;
    base::Weak<Window> window_;
    gfx::Rect anchor_;
    unsigned permitted_ = ArrowAny;
    Arrow arrow_ = ArrowUp;
    gfx::Rect box_;
    gfx::Point tip_;
    bool visible_ = false;
};

} // namespace ui
