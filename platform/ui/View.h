#pragma once

#include "gfx/Color.h"
#include "gfx/Context.h"
#include "gfx/Geometry.h"
#include "gfx/Surface.h"
#include "ui/Layer.h"
#include "ui/Responder.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class GestureRecognizer;
class Window;

enum class Curve { EaseInOut, EaseIn, EaseOut, Linear };

enum Autoresizing : unsigned {
    FlexibleLeftMargin = 1u << 0,
    FlexibleWidth = 1u << 1,
    FlexibleRightMargin = 1u << 2,
    FlexibleTopMargin = 1u << 3,
    FlexibleHeight = 1u << 4,
    FlexibleBottomMargin = 1u << 5,
};

// The animatable part of a view, as set by the program (the model) or as seen on screen while
// an animation runs (the presentation).
struct Look {
    gfx::Point center;
    gfx::Rect bounds;
    gfx::Transform transform;
    float alpha = 1;
    base::Ref<gfx::Color> background;
};

// A rectangle of the screen in a tree of views. Geometry is kept as the platform keeps it: a
// centre in the superview, bounds in the view's own space and a transform about the centre;
// the frame is derived from them. Views draw with y growing downwards.
//
// Two passes run before each frame: layout (layoutSubviews on views marked by setNeedsLayout or
// by a change of frame) and display (drawRect on views marked by setNeedsDisplay, once however
// often they were marked; a new view starts marked).
class View : public Responder {
public:
    explicit View(gfx::Rect frame = {});
    ~View() override;

    gfx::Rect frame() const;
    void setFrame(gfx::Rect frame);
    gfx::Rect bounds() const { return look_.bounds; }
    void setBounds(gfx::Rect bounds);
    gfx::Point center() const { return look_.center; }
    void setCenter(gfx::Point center);
    gfx::Transform transform() const { return look_.transform; }
    void setTransform(gfx::Transform transform);
    float alpha() const { return look_.alpha; }
    void setAlpha(float alpha);
    const base::Ref<gfx::Color> &backgroundColor() const { return look_.background; }
    void setBackgroundColor(base::Ref<gfx::Color> color);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const Look &model() const { return look_; }

    int tag = 0;
    bool opaque = true;
    bool clipsToBounds = false;
    bool userInteractionEnabled = true;
    bool multipleTouchEnabled = false;
    bool clearsContextBeforeDrawing = true;
    bool autoresizesSubviews = true;
    unsigned autoresizingMask = 0;

    // This view or the first of its descendants (depth first) with the tag.
    View *viewWithTag(int tag);
    void addSubview(base::Ref<View> view);
    void insertSubview(base::Ref<View> view, size_t index);
    void insertSubviewAbove(base::Ref<View> view, const View *above);
    void insertSubviewBelow(base::Ref<View> view, const View *below);
    void removeFromSuperview();
    void bringSubviewToFront(const View *view);
    void sendSubviewToBack(const View *view);
    View *superview() const { return superview_; }
    const std::vector<base::Ref<View>> &subviews() const { return subviews_; }
    bool isDescendantOf(const View *view) const;
    // The window at the root of this view's tree, if any.
    virtual Window *window() const;

    void setNeedsDisplay();
    // Only the part `rect` (bounds coordinates) needs drawing again: drawRect gets it as `dirty`,
    // drawing is clipped to it and the rest of the content is kept.
    void setNeedsDisplay(gfx::Rect rect);
    bool needsDisplay() const { return needsDisplay_; }
    // Draws the view's content; coordinates are the view's bounds.
    virtual void drawRect(gfx::Context &context, gfx::Rect dirty);
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Lays out this view and its descendants that are marked, top down.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual gfx::Size sizeThatFits(gfx::Size size) const { return size; }
    void sizeToFit();

    Layer &layer() { return *layer_; }
    const Layer &layer() const { return *layer_; }

    // Converts between this view's space and another view's in the same window; nullptr means
    // window coordinates.
    gfx::Point convert(gfx::Point point, const View *to) const;
    gfx::Point convertFrom(gfx::Point point, const View *from) const;
    gfx::Rect convert(gfx::Rect rect, const View *to) const;

    // The deepest visible, interactive descendant containing the point (in this view's space).
    virtual View *hitTest(gfx::Point point, const Event *event);
    virtual bool pointInside(gfx::Point point, const Event *event) const;

    void addGestureRecognizer(base::Ref<GestureRecognizer> recognizer);
    void removeGestureRecognizer(GestureRecognizer *recognizer);
    const std::vector<base::Ref<GestureRecognizer>> &gestureRecognizers() const { return recognizers_; }

    Responder *nextResponder() const override;
    // How long touches on this view's descendants wait before they reach them (a scroll view
    // waits to see whether the finger drags).
    virtual double contentTouchDelay() const { return 0; }

    // Animation blocks. Changes of frame, centre, bounds, transform, alpha and background colour
    // made between begin and commit (or inside `changes`) take effect in the model at once and
    // are shown moving on screen; the callback runs on the run loop after delay + duration.
    static void beginAnimations(std::string name, base::Ref<base::Object> context = nullptr);
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationCurve(Curve curve);
    static void setAnimationDidStop(std::function<void(const std::string &name, bool finished)> callback);
    static void commitAnimations();
    static void animate(double duration, double delay, Curve curve, const std::function<void()> &changes,
                        std::function<void(bool finished)> completion = {});
    static void animate(double duration, const std::function<void()> &changes,
                        std::function<void(bool finished)> completion = {});

    // The transform from this view's bounds space to its superview's space.
    gfx::Transform toSuperview() const;
    // The content drawn by the last display pass; empty for views that draw nothing.
    const gfx::Surface &content() const { return content_; }
    // Runs drawRect into the content surface when marked; false when nothing was drawn.
    bool display();
    // Gives back the drawn surface while nothing shows the view (hidden, or off its window); the next
    // display pass draws it whole again.
    void discardContent();
    // Stands for the view across frames: unlike its address it is never reused.
    uint64_t serial() const { return serial_; }
    // Where the last frame of its window drew the view itself, and the view with its descendants
    // (window pixels, within what clips them).
    const gfx::Rect &drawnArea() const { return area_; }
    const gfx::Rect &drawnSubtreeArea() const { return subtreeArea_; }

protected:
    // Whether drawing again would change the content a display pass is about to replace. Views
    // whose drawing depends only on state they can compare answer false while it is unchanged,
    // so that marking them costs no drawing.
    virtual bool contentStale() const { return true; }
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}

private:
    friend class Window;
    friend class DamageTracker;
    // Redraws after a change of size and lets the animator see every model change.
    void changed(const Look &before);
    void resizeSubviews(gfx::Size oldSize);
    void autoresize(gfx::Size oldSize, gfx::Size newSize);
    void attach(base::Ref<View> view, size_t index);
    void notifyWindow();

    Look look_;
    bool hidden_ = false;
    View *superview_ = nullptr;
    std::vector<base::Ref<View>> subviews_;
    std::vector<base::Ref<GestureRecognizer>> recognizers_;
    base::Ref<Layer> layer_;
    bool needsLayout_ = true;
    bool needsDisplay_ = true;
    bool drewNothing_ = false;
    gfx::Surface content_;
    // The part of the bounds marked for display; empty when the whole view is.
    gfx::Rect dirty_;
    // The part of the content the last display pass changed, until a frame shows it.
    std::optional<gfx::Rect> contentDamage_;
    uint64_t serial_;
    // Where the view and its subtree were drawn in the window in the last frame (window pixels).
    gfx::Rect area_, subtreeArea_;
};

} // namespace ui
