#pragma once

#include "base/RunLoop.h"
#include "base/Timer.h"
#include "gfx/Surface.h"
#include "ui/Host.h"

#include <atomic>
#include <string>

struct SDL_Window;
union SDL_Event;

namespace host {

// Presents the application's key window in an SDL window of the screen's size, and turns the
// mouse and keyboard into touches and typed text:
//   - the left button is one finger; held still for half a second it is a long press;
//   - with Ctrl held, a drag is two fingers 40 points apart moving together;
//   - with Shift held, a drag is a pinch about where it started; with Ctrl held the wheel is a pinch
//     about the pointer, without it the wheel scrolls the scroll view under the pointer;
//   - touch-screen fingers pass straight through;
//   - text input goes to the first responder, and only while a text input asks for it, with the
//     input method's candidate window beside its caret; the composition arrives whole (extended
//     text) and shows in the input; a secure input gets plain key presses with no input method;
//   - editing keys and Ctrl+A, C, X, V go to the first responder; closing the window quits;
//   - F7 turns the interface between the two landscape orientations, F8 sends a memory warning.
// While open it sleeps until something happens: the main run loop watches the connection to the
// display server (input and exposure arrive at once) and a descriptor that SDL events queued by
// other means, and the interrupt and termination signals, make readable. A frame (at most 60 a
// second) is drawn only when something changed on screen, an animation runs or the window was
// exposed, and only the damaged part of the window is copied to the screen. While a text input
// takes typed text with the input method on, events are also pumped every 16 ms, as the input
// method answers over a channel the loop does not watch.
class Sdl : public ui::Host {
public:
    Sdl();
    ~Sdl() override;
    Sdl(const Sdl &) = delete;
    Sdl &operator=(const Sdl &) = delete;

    // Opens the window; false (and nothing open) when SDL has no display to use.
    bool open(const std::string &title);
    bool isOpen() const { return window_ != nullptr; }
    void close();

    // Handles every queued SDL event, then draws a frame if one is due.
    void pump();
    // How often the run loop woke the host to pump events.
    int wakeUps() const { return wakeUps_; }
    // Handles one SDL event.
    void handle(const SDL_Event &event);
    // Draws the key window now.
    void present();
    int framesPresented() const { return frames_; }
    // The last frame drawn into the window.
    const gfx::Surface &lastFrame() const { return frame_; }

    bool openUrl(const std::string &url) override;
    void shutdown() override { close(); }
    void setNeedsFrame() override;
    void startTextInput(gfx::Rect caret, bool secure) override;
    void stopTextInput() override;
    void setClipboardText(const std::string &text) override;
    std::string clipboardText() const override;

private:
    // Draws a frame when one is wanted and the last is old enough, else schedules it.
    void frameIfDue();
    void scheduleFrame(double wait);
    void watchDisplay();
    // Pumps events every 16 ms while the input method is on.
    void pumpForInputMethod(bool on);
    // Makes the run loop pump soon.
    void wake();
    // Whether SDL's queue holds events for the host.
    bool eventsWaiting() const;
    static int eventQueued(void *self, SDL_Event *event);
    void mouseDown(float x, float y, unsigned modifiers);
    void mouseMove(float x, float y);
    void mouseUp();
    void wheelPinch(float x, float y, int steps);
    void wheelScroll(float x, float y, float dx, float dy);
    void keyDown(const SDL_Event &event);

    SDL_Window *window_ = nullptr;
    gfx::Surface frame_;
    // The display connection and the wake-up descriptor on the run loop; the input method's pump
    // and the next frame's timer.
    base::Ref<base::FdSource> display_, wakeSource_;
    int wakeFd_ = -1;
    std::atomic<bool> pumping_{false};
    base::Ref<base::Timer> pump_, imePump_, frameTimer_;
    int wakeUps_ = 0;
    double lastFrame_ = -1;
    int frames_ = 0;
    enum class Drag { None, One, Two, Pinch } drag_ = Drag::None;
    float anchorX_ = 0, anchorY_ = 0;
    // A secure input is first responder: keys are its characters, the input method stays off.
    bool secureInput_ = false;
    // The window system asks for the picture again.
    bool exposed_ = true;
};

} // namespace host
