#include "host/Sdl.h"

#include "base/Clock.h"
#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Responder.h"
#include "ui/Window.h"

#include <SDL.h>
#include <cairo.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <string_view>

extern char **environ;

namespace host {

namespace {

constexpr double FrameInterval = 1.0 / 60;
constexpr double PumpInterval = 0.008;
// Finger numbers: the mouse uses 1 and 2, touch-screen fingers start above.
constexpr int MouseFinger = 1, SecondFinger = 2, ScreenFingers = 100;
constexpr float TwoFingerGap = 40, PinchSpan = 60, WheelStep = 1.1f;
constexpr double ReapInterval = 0.5;
// Keys standing in for turning the device (between the two landscape orientations) and for the
// system running short of memory.
constexpr SDL_Keycode RotateKey = SDLK_F7, MemoryWarningKey = SDLK_F8;

ui::Window *keyWindow() {
    return ui::Application::shared().keyWindow();
}

} // namespace

Sdl::Sdl() {
    ui::Host::setCurrent(this);
}

Sdl::~Sdl() {
    close();
    if (ui::Host::current() == this)
        ui::Host::setCurrent(nullptr);
}

namespace {

// Without a desktop SDL falls back to drivers that show nothing: that counts as no display unless
// such a driver was asked for by name (as the tests do).
bool hasDisplay() {
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    return (asked && *asked) || (driver != "offscreen" && driver != "dummy");
}

} // namespace

bool Sdl::open(const std::string &title) {
    if (window_)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    if (!hasDisplay()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    gfx::Size size = ui::Screen::main().windowSize();
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(size.w),
                               int(size.h), SDL_WINDOW_SHOWN);
    if (window_)
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     int(size.w), int(size.h));
    frame_ = gfx::Surface(int(size.w), int(size.h));
    if (!texture_ || !frame_) {
        close();
        return false;
    }
    SDL_StartTextInput();
    pump_ = base::Timer::make(PumpInterval, true, base::Action("pump", [this](base::Object *) { pump(); }));
    base::RunLoop::main().addTimer(pump_, base::RunLoop::Common);
    return true;
}

void Sdl::close() {
    if (pump_)
        pump_->invalidate();
    pump_ = nullptr;
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_) {
        SDL_StopTextInput();
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void Sdl::pump() {
    SDL_Event event;
    while (window_ && SDL_PollEvent(&event))
        handle(event);
    double now = base::Clock::current().monotonic();
    if (window_ && now - lastFrame_ >= FrameInterval) {
        lastFrame_ = now;
        present();
    }
}

void Sdl::present() {
    ui::Window *w = keyWindow();
    if (!texture_ || !w)
        return;
    w->renderInto(frame_);
    cairo_surface_flush(frame_.cairo());
    SDL_UpdateTexture(texture_, nullptr, cairo_image_surface_get_data(frame_.cairo()),
                      cairo_image_surface_get_stride(frame_.cairo()));
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    ++frames_;
}

void Sdl::handle(const SDL_Event &e) {
    ui::Window *w = keyWindow();
    gfx::Size size = ui::Screen::main().windowSize();
    switch (e.type) {
    case SDL_QUIT:
        ui::Application::shared().quit();
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
            mouseDown(float(e.button.x), float(e.button.y), SDL_GetModState());
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which != SDL_TOUCH_MOUSEID)
            mouseMove(float(e.motion.x), float(e.motion.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
            mouseUp();
        break;
    case SDL_MOUSEWHEEL:
        wheelPinch(float(e.wheel.mouseX), float(e.wheel.mouseY), e.wheel.y);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
        if (!w)
            break;
        int id = ScreenFingers + int(e.tfinger.fingerId % 1000);
        gfx::Point p{e.tfinger.x * size.w, e.tfinger.y * size.h};
        if (e.type == SDL_FINGERDOWN)
            w->touchDown(id, p);
        else if (e.type == SDL_FINGERMOTION)
            w->touchMove(id, p);
        else
            w->touchUp(id);
        break;
    }
    case SDL_TEXTINPUT:
        if (ui::Responder *r = ui::Responder::firstResponder())
            r->insertText(e.text.text);
        break;
    case SDL_KEYDOWN:
        if (e.key.keysym.sym == RotateKey && w) {
            bool left = ui::Application::shared().statusBarOrientation() == ui::Orientation::LandscapeLeft;
            w->rotate(left ? ui::Orientation::LandscapeRight : ui::Orientation::LandscapeLeft);
        } else if (e.key.keysym.sym == MemoryWarningKey) {
            ui::Application::shared().simulateMemoryWarning();
        } else if (ui::Responder *r = ui::Responder::firstResponder()) {
            if (e.key.keysym.sym == SDLK_BACKSPACE)
                r->deleteBackward();
            else if (e.key.keysym.sym == SDLK_RETURN)
                r->insertText("\n");
        }
        break;
    default:
        break;
    }
}

void Sdl::mouseDown(float x, float y, unsigned modifiers) {
    ui::Window *w = keyWindow();
    if (!w || drag_ != Drag::None)
        return;
    anchorX_ = x, anchorY_ = y;
    if (modifiers & KMOD_CTRL) {
        drag_ = Drag::Two;
        w->touchDown(MouseFinger, {x, y});
        w->touchDown(SecondFinger, {x + TwoFingerGap, y});
    } else if (modifiers & KMOD_SHIFT) {
        drag_ = Drag::Pinch;
        w->touchDown(MouseFinger, {x - PinchSpan, y});
        w->touchDown(SecondFinger, {x + PinchSpan, y});
    } else {
        drag_ = Drag::One;
        w->touchDown(MouseFinger, {x, y});
    }
}

void Sdl::mouseMove(float x, float y) {
    ui::Window *w = keyWindow();
    if (!w)
        return;
    switch (drag_) {
    case Drag::None:
        break;
    case Drag::One:
        w->touchMove(MouseFinger, {x, y});
        break;
    case Drag::Two:
        w->touchesMove({{MouseFinger, {x, y}}, {SecondFinger, {x + TwoFingerGap, y}}});
        break;
    case Drag::Pinch: {
        // Dragging right or up spreads the fingers, left or down brings them together.
        float span = std::max(5.f, PinchSpan + (x - anchorX_) - (y - anchorY_));
        w->touchesMove(
            {{MouseFinger, {anchorX_ - span, anchorY_}}, {SecondFinger, {anchorX_ + span, anchorY_}}});
        break;
    }
    }
}

void Sdl::mouseUp() {
    ui::Window *w = keyWindow();
    if (w && drag_ != Drag::None) {
        w->touchUp(MouseFinger);
        if (drag_ != Drag::One)
            w->touchUp(SecondFinger);
    }
    drag_ = Drag::None;
}

void Sdl::wheelPinch(float x, float y, int steps) {
    ui::Window *w = keyWindow();
    if (!w || steps == 0 || drag_ != Drag::None)
        return;
    float span = PinchSpan * std::pow(WheelStep, float(steps));
    w->touchDown(MouseFinger, {x - PinchSpan, y});
    w->touchDown(SecondFinger, {x + PinchSpan, y});
    const int moves = 3;
    for (int i = 1; i <= moves; ++i) {
        float s = PinchSpan + (span - PinchSpan) * float(i) / moves;
        w->touchesMove({{MouseFinger, {x - s, y}}, {SecondFinger, {x + s, y}}});
    }
    w->touchUp(MouseFinger);
    w->touchUp(SecondFinger);
}

bool Sdl::openUrl(const std::string &url) {
    // Hand the address to the desktop's opener, without a shell in between, and never wait for it:
    // the run loop only collects its exit status once it has ended.
    const char *argv[] = {"xdg-open", url.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char **>(argv), environ) != 0)
        return false;
    auto reaper = base::Timer::make(ReapInterval, true, base::Action("reap", [pid](base::Object *sender) {
                                        int status = 0;
                                        if (waitpid(pid, &status, WNOHANG) != 0)
                                            if (auto *timer = dynamic_cast<base::Timer *>(sender))
                                                timer->invalidate();
                                    }));
    base::RunLoop::main().addTimer(reaper, base::RunLoop::Common);
    return true;
}

} // namespace host
