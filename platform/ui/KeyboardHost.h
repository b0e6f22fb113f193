#pragma once

#include "base/Object.h"
#include "gfx/Geometry.h"

namespace ui {

class Responder;

// The tablet's on-screen keyboard as owners see it, posted on the notification centre: will and
// did show when a text input becomes first responder while none was, will and did hide when the
// last one resigns; moving from one input to another posts nothing. The user information holds
// the end frame (an array x, y, width, height in window coordinates) and the animation duration.
// It also tells the host where typed text goes: the host starts text input (with the input
// method's candidate window beside the caret) only while an input is first responder.
class KeyboardHost {
public:
    static constexpr const char *WillShowNotification = "KeyboardWillShow";
    static constexpr const char *DidShowNotification = "KeyboardDidShow";
    static constexpr const char *WillHideNotification = "KeyboardWillHide";
    static constexpr const char *DidHideNotification = "KeyboardDidHide";
    static constexpr const char *FrameEndKey = "KeyboardFrameEnd";
    static constexpr const char *DurationKey = "KeyboardAnimationDuration";
    static constexpr double Duration = 0.25;
    static gfx::Rect endFrame() { return {0, 416, 1024, 352}; }

    static KeyboardHost &shared();

    bool isVisible() const { return visible_; }
    Responder *input() const { return input_; }

    // Called by text inputs as they become and stop being first responder, and when their caret
    // (window coordinates) moves. Secure inputs get no input method.
    void inputBegan(Responder &input, gfx::Rect caret, bool secure);
    void caretMoved(Responder &input, gfx::Rect caret, bool secure);
    void inputEnded(Responder &input);

    // While one lives, an input giving up first responder to another keeps the keyboard up.
    class Switch {
    public:
        Switch() : was_(shared().switching_) { shared().switching_ = true; }
        ~Switch() { shared().switching_ = was_; }
        Switch(const Switch &) = delete;
        Switch &operator=(const Switch &) = delete;

    private:
        bool was_;
    };

private:
    KeyboardHost() = default;
    void post(const char *name);
    void hide();

    Responder *input_ = nullptr;
    bool visible_ = false;
    bool switching_ = false;
    // Counts show and hide runs, so that a late did-show of an earlier run posts nothing.
    unsigned generation_ = 0;
};

} // namespace ui
