#pragma once

#include "base/Action.h"
#include "base/Object.h"
#include "gfx/Geometry.h"
#include "ui/Responder.h"

#include <climits>
#include <optional>
#include <vector>

namespace ui {

class GestureRecognizer;
class View;

enum class GestureState { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };

struct GestureDelegate : base::Object {
    virtual base::Opt<bool> shouldBegin(GestureRecognizer &) { return base::notImplemented; }
    // A NO keeps the touch away from the recogniser, so the view beneath gets it undisturbed.
    virtual base::Opt<bool> shouldReceiveTouch(GestureRecognizer &, const Touch &) {
        return base::notImplemented;
    }
    virtual base::Opt<bool> simultaneously(GestureRecognizer &, GestureRecognizer &) {
        return base::notImplemented;
    }
};

// Watches the touches of its view and of the view's descendants before the views get them.
// When it recognises its gesture it sends its actions (with itself as the sender) and, with
// cancelsTouchesInView, cancels those touches in the views: a recogniser on a superview wins
// over a button beneath unless its delegate refuses the touch.
class GestureRecognizer : public base::Object {
public:
    explicit GestureRecognizer(base::Action action = {});

    void addTarget(base::Action action);
    // Holds this recogniser back until `other` has failed; if `other` recognises, this one fails.
    void requireToFail(GestureRecognizer &other);
    GestureState state() const { return state_; }
    // The centroid of its touches in the view's space (window coordinates for nullptr); once
    // they have lifted, where they lifted, so that an action sent at the end knows the spot.
    gfx::Point location(const View *in) const;
    gfx::Point locationOfTouch(int index, const View *in) const;
    int touchCount() const { return int(touches_.size()); }
    View *view() const { return view_; }

    bool enabled = true;
    bool cancelsTouchesInView = true;
    base::Weak<GestureDelegate> delegate;

    // Called by the window with the recogniser's own touches.
    void handle(Touch::Phase phase, const TouchSet &touches, const Event &event);
    // Whether it is done with a gesture and can start afresh with a new touch.
    bool finished() const;
    void reset();
    // Gives up on the current gesture without telling the targets.
    void fail();

protected:
    virtual void began(const TouchSet &, const Event &) {}
    virtual void moved(const TouchSet &, const Event &) {}
    virtual void ended(const TouchSet &, const Event &) {}
    virtual void cancelled();
    virtual void resetGesture() {}
    // Whether a gesture may still come of the touches seen so far.
    virtual bool inProgress() const { return !touches_.empty(); }

    void setState(GestureState state);
    gfx::Point centroid() const;
    const std::vector<base::Ref<Touch>> &touches() const { return touches_; }

private:
    friend class View;
    bool mayBegin();
    // Whether a required recogniser makes this one wait (true) or fail (state set to Failed).
    bool heldBack(GestureState &state);
    void requiredFailed();
    void requiredRecognized();
    View *view_ = nullptr;
    std::vector<base::Weak<GestureRecognizer>> required_, dependents_;
    std::optional<GestureState> deferred_;
    std::vector<base::Action> actions_;
    std::vector<base::Ref<Touch>> touches_;
    // The centroid of the touches that lifted last.
    gfx::Point lifted_;
    GestureState state_ = GestureState::Possible;
};

// Recognised when the fingers lift the required number of times without moving away.
class TapRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;
    int tapsRequired = 1;
    int touchesRequired = 1;
    // Longest wait for the next tap and furthest a finger may move.
    static constexpr double TapInterval = 0.35;
    static constexpr float Slop = 10;

protected:
    void began(const TouchSet &, const Event &) override;
    void moved(const TouchSet &, const Event &) override;
    void ended(const TouchSet &, const Event &) override;
    void resetGesture() override;
    bool inProgress() const override;

private:
    void tooLate();
    int taps_ = 0;
    int maxFingers_ = 0;
    gfx::Point start_;
};

// Begins once the fingers have moved 10 points while their number lies within the limits; ends
// when the number drops below the minimum.
class PanRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;
    int minTouches = 1;
    int maxTouches = INT_MAX;
    static constexpr float Threshold = 10;

    gfx::Point translation(const View *in) const;
    void setTranslation(gfx::Point translation, const View *in);
    // Points per second of the last movement.
    gfx::Point velocity(const View *in) const;

protected:
    void began(const TouchSet &, const Event &) override;
    void moved(const TouchSet &, const Event &) override;
    void ended(const TouchSet &, const Event &) override;
    void resetGesture() override;

private:
    void restart();
    gfx::Point start_, offset_, velocity_, last_;
    double lastTime_ = 0;
};

// Two fingers: scale is the distance between them relative to when the gesture began, and
// follows any value the program sets in between.
class PinchRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;
    float scale = 1;
    float velocity = 0;
    static constexpr float Threshold = 8;

protected:
    void began(const TouchSet &, const Event &) override;
    void moved(const TouchSet &, const Event &) override;
    void ended(const TouchSet &, const Event &) override;
    void resetGesture() override;

private:
    float distance() const;
    float start_ = 0, last_ = 0;
    double lastTime_ = 0;
};

// Begins when the fingers have stayed down (within allowableMovement) for minimumDuration, then
// follows them until they lift.
class LongPressRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;
    ~LongPressRecognizer() override;
    double minimumDuration = 0.5;
    int touchesRequired = 1;
    float allowableMovement = 10;

protected:
    void began(const TouchSet &, const Event &) override;
    void moved(const TouchSet &, const Event &) override;
    void ended(const TouchSet &, const Event &) override;
    void resetGesture() override;

private:
    void held();
    gfx::Point start_;
    bool waiting_ = false;
};

} // namespace ui
