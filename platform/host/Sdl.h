#pragma once

#include "base/Timer.h"
#include "gfx/Surface.h"
#include "ui/Host.h"

#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
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
//   - editing keys and Ctrl+A, C, X, V go to the first responder; closing the window quits.
// While open it pumps SDL events every 8 ms from the main run loop and draws a frame (at most 60 a
// second) only when something changed on screen, an animation runs or the window was exposed.
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
    // Handles one SDL event.
    void handle(const SDL_Event &event);
    // Draws the key window now.
    void present();
    int framesPresented() const { return frames_; }

    bool openUrl(const std::string &url) override;
    void shutdown() override { close(); }
    void startTextInput(gfx::Rect caret, bool secure) override;
    void stopTextInput() override;
    void setClipboardText(const std::string &text) override;
    std::string clipboardText() const override;

private:
    void mouseDown(float x, float y, unsigned modifiers);
    void mouseMove(float x, float y);
    void mouseUp();
    void wheelPinch(float x, float y, int steps);
    void wheelScroll(float x, float y, float dx, float dy);
    void keyDown(const SDL_Event &event);

    SDL_Window *window_ = nullptr;
    SDL_Renderer *renderer_ = nullptr;
    SDL_Texture *texture_ = nullptr;
    gfx::Surface frame_;
    base::Ref<base::Timer> pump_;
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
