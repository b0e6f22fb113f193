#pragma once

#include "gfx/Surface.h"
#include "ui/Application.h"
#include "ui/DamageTracker.h"
#include "ui/View.h"

#include <map>
#include <optional>

namespace ui {

class GestureRecognizer;
class ViewController;

// The root of a view tree and the place touches enter it. Above its subviews it keeps a popover
// layer and above that an alert layer: while an alert shows, the alert layer takes every touch;
// else a popover layer with popovers in it sees touches first.
//
// The root view controller's view fills the application frame (below the status bar) at the
// bottom of the window's subviews.
//
// A touch goes first to the gesture recognisers of the hit view and its ancestors (those whose
// delegate accepts it), then to the hit view, unless a recogniser has recognised and cancelled it
// there. A view that does not take multiple touches gets only the first finger on it.
class Window : public View {
public:
    explicit Window(gfx::Rect frame = {});
    ~Window() override;

    Window *window() const override { return const_cast<Window *>(this); }
    // Makes this the application's key window.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    View &alertLayer() { return *alertLayer_; }
    View &popoverLayer() { return *popoverLayer_; }

    // Replaces the root screen: the old one disappears, the new one appears, without animation.
    void setRootViewController(base::Ref<ViewController> controller);
    ViewController *rootViewController() const { return root_.get(); }
    // Turns the interface to the orientation when the screens shown allow it (root first, then
    // down the visible chain); answers whether it turned. The window keeps its size.
    bool rotate(Orientation orientation);

    View *hitTest(gfx::Point point, const Event *event) override;

    // Touches in window coordinates, identified by the caller's finger numbers. The time is
    // the clock's monotonic time unless given.
    void touchDown(int id, gfx::Point point, std::optional<double> time = {});
    void touchMove(int id, gfx::Point point, std::optional<double> time = {});
    // Several fingers moving in one event.
    void touchesMove(const std::vector<std::pair<int, gfx::Point>> &moves, std::optional<double> time = {});
    void touchUp(int id, std::optional<double> time = {});
    void touchCancel(int id, std::optional<double> time = {});
    // The touches currently down.
    std::vector<base::Ref<Touch>> activeTouches() const;

    // Runs the layout and display passes over the tree, alert layer included.
    void prepareFrame();
    // Lays out, draws and composites the window into a new surface of its size.
    gfx::Surface render();
    // The same into `target`, whole, leaving what update() knows of the last frame alone.
    void renderInto(const gfx::Surface &target);
    // Brings `target`, which holds the last frame this window drew into it, up to date: lays out,
    // draws what was marked and composites only the damaged part, which it answers (window
    // pixels; empty when nothing changed). A target the window did not draw last is drawn whole.
    // Does nothing at all when no change was made known since the last frame.
    gfx::Region update(const gfx::Surface &target);

    // Called by recognisers.
    void recognized(GestureRecognizer &recognizer);
    bool mayBegin(GestureRecognizer &recognizer);

private:
    struct Tracked {
        base::Ref<Touch> touch;
        bool toView = true;
        // The view has not heard of the touch yet: a scroll view around it is waiting to see
        // whether the finger drags.
        bool held = false;
        std::vector<base::Ref<GestureRecognizer>> recognizers;
    };
    void dispatch(Touch::Phase phase, std::vector<int> ids, double time);
    void cancelInViews(GestureRecognizer &recognizer);
    void releaseHeld(int id, double time);
    bool shareTouches(const GestureRecognizer &a, const GestureRecognizer &b) const;
    static double timeOr(std::optional<double> time);
    // update(), also when no change was made known unless `whenTold`.
    gfx::Region refresh(const gfx::Surface &target, bool whenTold);

    base::Ref<View> alertLayer_, popoverLayer_;
    DamageTracker damage_;
    // The surface the last frame went into, and the one render() keeps its frames in.
    const void *lastTarget_ = nullptr;
    // The change count at the last layout and display passes (none while anything animates but
    // transitions).
    std::optional<uint64_t> preparedAt_;
    gfx::Surface frame_;
    base::Ref<ViewController> root_;
    std::map<int, Tracked> touches_;
    struct LastTap {
        gfx::Point point;
        double time = -1;
        int count = 0;
    } lastTap_;
};

} // namespace ui
