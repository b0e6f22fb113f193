#pragma once

#include "base/Object.h"
#include "gfx/Geometry.h"

#include <string>
#include <vector>

namespace ui {

class View;
class Window;

// One finger on the screen, from touch-down to lift-off. Its position is kept in window
// coordinates and converted on request.
class Touch : public base::Object {
public:
    enum class Phase { Began, Moved, Stationary, Ended, Cancelled };

    Touch(int id, Window &window, gfx::Point point, double timestamp);

    int id() const { return id_; }
    gfx::Point location(const View *in) const;
    gfx::Point previousLocation(const View *in) const;
    // The view hit when the finger came down; nullptr once it is gone.
    View *view() const { return view_.lock().get(); }
    Window *window() const { return window_.lock().get(); }
    Phase phase() const { return phase_; }
    double timestamp() const { return timestamp_; }
    int tapCount() const { return tapCount_; }

private:
    friend class Window;
    int id_;
    base::Weak<Window> window_;
    base::Weak<View> view_;
    gfx::Point point_, previous_;
    Phase phase_ = Phase::Began;
    double timestamp_;
    int tapCount_ = 1;
};

using TouchSet = std::vector<Touch *>;

// The touches of one moment: those that changed and every other finger still down.
class Event {
public:
    Event(double timestamp, std::vector<base::Ref<Touch>> all)
        : timestamp_(timestamp), all_(std::move(all)) {}
    double timestamp() const { return timestamp_; }
    const std::vector<base::Ref<Touch>> &allTouches() const { return all_; }
    TouchSet touchesFor(const View *view) const;

private:
    double timestamp_;
    std::vector<base::Ref<Touch>> all_;
};

// Keys that move in or edit text, and the editing commands (Ctrl+A, C, X, V on a desktop).
enum class Key { Backspace, Delete, Left, Right, Home, End, Return, Escape, SelectAll, Copy, Cut, Paste };

// Receives touches and typed text. At most one responder is first at a time; typed text goes to it.
class Responder : public base::Object {
public:
    ~Responder() override;

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    static Responder *firstResponder();

    // By default a touch not handled here goes on to the next responder.
    virtual void touchesBegan(const TouchSet &, const Event &);
    virtual void touchesMoved(const TouchSet &, const Event &);
    virtual void touchesEnded(const TouchSet &, const Event &);
    virtual void touchesCancelled(const TouchSet &, const Event &);
    virtual Responder *nextResponder() const { return nullptr; }

    // Typed (committed) text and the backspace key, sent to the first responder.
    virtual void insertText(const std::string &) {}
    virtual void deleteBackward() {}
    virtual void pressKey(Key, bool /*shift*/) {}
    // The input method's composition in progress, not yet text; empty when it ends.
    virtual void setComposition(const std::string &) {}
};

} // namespace ui
