#include "host/Sdl.h"

#include "host/DisplayConnection.h"

#include "base/Clock.h"
#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Compositor.h"
#include "ui/Responder.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

#include <SDL.h>
#include <cairo.h>
#include <csignal>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

extern char **environ;

namespace host {

namespace {

constexpr double FrameInterval = 1.0 / 60;
// How often events are pumped while the input method may answer, or when the display connection
// cannot be watched.
constexpr double PumpInterval = 0.016;
// More damaged rectangles than this are copied to the screen as the one rectangle holding them.
constexpr size_t MaxUploads = 32;
// Finger numbers: the mouse uses 1 and 2, touch-screen fingers start above.
constexpr int MouseFinger = 1, SecondFinger = 2, ScreenFingers = 100;
constexpr float TwoFingerGap = 40, PinchSpan = 60, WheelStep = 1.1f;
constexpr double ReapInterval = 0.5;
// Keys standing in for turning the device (between the two landscape orientations) and for the
// system running short of memory.
constexpr SDL_Keycode RotateKey = SDLK_F7, MemoryWarningKey = SDLK_F8;
// Points the content moves per notch of the wheel.
constexpr float WheelScroll = 40;

ui::Window *keyWindow() {
    return ui::Application::shared().keyWindow();
}

// The interrupt and termination signals end the application as closing the window does; the
// handler only notes them and wakes the run loop.
std::atomic<int> signalWakeFd{-1};
volatile std::sig_atomic_t quitSignalled = 0;
struct sigaction previousInt, previousTerm;

void onQuitSignal(int) {
    quitSignalled = 1;
    uint64_t one = 1;
    if (int fd = signalWakeFd.load(); fd >= 0)
        (void)!::write(fd, &one, sizeof one);
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
bool driverAsked() {
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    return asked && *asked;
}

// Whether SDL drives a real window system rather than a driver that shows nothing.
bool hasDesktopDriver() {
    std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    return driver != "offscreen" && driver != "dummy";
}

bool hasDisplay() {
    return driverAsked() || hasDesktopDriver();
}

// Nothing names a desktop to connect to: probing the drivers would only print their complaints.
bool noDesktopNamed() {
    return !driverAsked() && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}

} // namespace

bool Sdl::open(const std::string &title) {
    if (window_)
        return true;
    // Long compositions arrive whole instead of cut at 32 bytes.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    // SDL's own signal handlers would only be heard at the next pump, which may be long in coming.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (noDesktopNamed() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    if (!hasDisplay()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // On X11 the window surface is shared memory from which only the damaged rectangles go to
    // the server. SDL would otherwise back it with a texture that is uploaded and drawn whole
    // through OpenGL on every frame: without a graphics card, all the window's pixels rasterised
    // again by the software renderer's threads for one changed label.
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    gfx::Size size = ui::Screen::main().windowSize();
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(size.w),
                               int(size.h), SDL_WINDOW_SHOWN);
    frame_ = gfx::Surface(int(size.w), int(size.h));
    if (!window_ || !SDL_GetWindowSurface(window_) || !frame_) {
        close();
        return false;
    }
    // Text input starts when a text input becomes first responder.
    SDL_StopTextInput();
    watchDisplay();
    scheduleFrame(0);
    return true;
}

void Sdl::watchDisplay() {
    base::RunLoop &loop = base::RunLoop::main();
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    wakeSource_ = base::make<base::FdSource>(wakeFd_, base::FdSource::Read, [this](unsigned) { pump(); });
    loop.addSource(wakeSource_, {base::RunLoop::Common});
    SDL_AddEventWatch(&Sdl::eventQueued, this);
    signalWakeFd = wakeFd_;
    struct sigaction quit {};
    quit.sa_handler = onQuitSignal;
    sigemptyset(&quit.sa_mask);
    sigaction(SIGINT, &quit, &previousInt);
    sigaction(SIGTERM, &quit, &previousTerm);

    if (int fd = displayConnection(window_); fd >= 0) {
        display_ = base::make<base::FdSource>(fd, base::FdSource::Read, [this](unsigned) { pump(); });
        loop.addSource(display_, {base::RunLoop::Common});
    } else if (hasDesktopDriver()) {
        // No descriptor to wait on: look for events now and then.
        pump_ =
            base::Timer::make(PumpInterval, true, base::Action("pump", [this](base::Object *) { pump(); }));
        loop.addTimer(pump_, base::RunLoop::Common);
    }
}

int Sdl::eventQueued(void *self, SDL_Event *event) {
    auto *sdl = static_cast<Sdl *>(self);
    // Events the host's own calls bring in need no wake-up, nor the marker SDL queues at the end of
    // every poll.
    if (!sdl->pumping_ && event->type != SDL_POLLSENTINEL)
        sdl->wake();
    return 1;
}

bool Sdl::eventsWaiting() const {
    return window_ && (SDL_HasEvents(SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1) ||
                       SDL_HasEvents(SDL_POLLSENTINEL + 1, SDL_LASTEVENT));
}

void Sdl::wake() {
    uint64_t one = 1;
    if (wakeFd_ >= 0)
        (void)!::write(wakeFd_, &one, sizeof one);
}

void Sdl::close() {
    for (auto *timer : {&pump_, &imePump_, &frameTimer_}) {
        if (*timer)
            (*timer)->invalidate();
        *timer = nullptr;
    }
    for (auto *source : {&display_, &wakeSource_}) {
        if (*source)
            base::RunLoop::main().removeSource(**source);
        *source = nullptr;
    }
    if (wakeFd_ >= 0) {
        SDL_DelEventWatch(&Sdl::eventQueued, this);
        signalWakeFd = -1;
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
    if (window_) {
        SDL_StopTextInput();
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    window_ = nullptr;
}

void Sdl::pump() {
    ++wakeUps_;
    uint64_t count;
    while (wakeFd_ >= 0 && ::read(wakeFd_, &count, sizeof count) > 0) {
    }
    if (quitSignalled) {
        quitSignalled = 0;
        ui::Application::shared().quit();
    }
    pumping_ = true;
    SDL_Event event;
    while (window_ && SDL_PollEvent(&event))
        handle(event);
    frameIfDue();
    // Drawing may have read events from the display connection that then wait in SDL's queue, where
    // the run loop cannot see them.
    if (window_)
        SDL_PumpEvents();
    pumping_ = false;
    if (eventsWaiting())
        wake();
}

void Sdl::setNeedsFrame() {
    if (window_)
        scheduleFrame(lastFrame_ + FrameInterval - base::Clock::current().monotonic());
}

void Sdl::scheduleFrame(double wait) {
    if (frameTimer_ && frameTimer_->isValid())
        return;
    frameTimer_ = base::Timer::make(std::max(0.0, wait), false,
                                    base::Action("frame", [this](base::Object *) { frameIfDue(); }));
    base::RunLoop::main().addTimer(frameTimer_, base::RunLoop::Common);
}

void Sdl::frameIfDue() {
    if (!window_ || !(exposed_ || ui::compositor::needsFrame()))
        return;
    double now = base::Clock::current().monotonic();
    if (now - lastFrame_ < FrameInterval) {
        scheduleFrame(lastFrame_ + FrameInterval - now);
        return;
    }
    lastFrame_ = now;
    present();
    // An animation goes on: the next frame is due a frame's time from now.
    if (ui::compositor::needsFrame())
        scheduleFrame(FrameInterval);
}

void Sdl::present() {
    ui::Window *w = keyWindow();
    SDL_Surface *screen = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!screen || !w)
        return;
    if (frameTimer_)
        frameTimer_->invalidate();
    gfx::Region damage = w->update(frame_);
    if (exposed_)
        damage.add(gfx::Rect{0, 0, float(frame_.width()), float(frame_.height())});
    exposed_ = false;
    if (damage.isEmpty())
        return;
    // Only the damaged rectangles are copied into the window's surface and sent to the display.
    damage.intersect(
        {0, 0, float(std::min(screen->w, frame_.width())), float(std::min(screen->h, frame_.height()))});
    cairo_surface_flush(frame_.cairo());
    const unsigned char *pixels = cairo_image_surface_get_data(frame_.cairo());
    const int stride = cairo_image_surface_get_stride(frame_.cairo());
    std::vector<gfx::Rect> rects = damage.rects();
    if (rects.size() > MaxUploads)
        rects = {damage.extents()};
    std::vector<SDL_Rect> areas;
    if (SDL_MUSTLOCK(screen))
        SDL_LockSurface(screen);
    for (const gfx::Rect &r : rects) {
        SDL_Rect a{int(r.x()), int(r.y()), int(r.width()), int(r.height())};
        SDL_ConvertPixels(a.w, a.h, SDL_PIXELFORMAT_ARGB8888, pixels + a.y * stride + a.x * 4, stride,
                          screen->format->format,
                          static_cast<unsigned char *>(screen->pixels) + a.y * screen->pitch +
                              a.x * screen->format->BytesPerPixel,
                          screen->pitch);
        areas.push_back(a);
    }
    if (SDL_MUSTLOCK(screen))
        SDL_UnlockSurface(screen);
    bool pumping = pumping_.exchange(true);
    SDL_UpdateWindowSurfaceRects(window_, areas.data(), int(areas.size()));
    // The update waits for the display server, reading whatever input arrived meanwhile into the
    // connection's own queue: the descriptor the run loop watches is drained then, and SDL's queue
    // shows nothing until the next pump. Move that input into SDL's queue and wake for it, else a
    // click during a frame would wait for the next input to be seen.
    if (!pumping && window_)
        SDL_PumpEvents();
    pumping_ = pumping;
    if (!pumping && eventsWaiting())
        wake();
    ++frames_;
}

void Sdl::handle(const SDL_Event &e) {
    ui::Window *w = keyWindow();
    gfx::Size size = ui::Screen::main().windowSize();
    switch (e.type) {
    case SDL_QUIT:
        ui::Application::shared().quit();
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            e.window.event == SDL_WINDOWEVENT_RESTORED)
            exposed_ = true;
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
        if (SDL_GetModState() & KMOD_CTRL)
            wheelPinch(float(e.wheel.mouseX), float(e.wheel.mouseY), e.wheel.y);
        else
            wheelScroll(float(e.wheel.mouseX), float(e.wheel.mouseY), e.wheel.preciseX, e.wheel.preciseY);
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
    case SDL_TEXTEDITING:
        if (ui::Responder *r = ui::Responder::firstResponder())
            r->setComposition(e.edit.text);
        break;
    case SDL_TEXTEDITING_EXT:
        if (ui::Responder *r = ui::Responder::firstResponder())
            r->setComposition(e.editExt.text ? e.editExt.text : "");
        SDL_free(e.editExt.text);
        break;
    case SDL_TEXTINPUT:
        if (ui::Responder *r = ui::Responder::firstResponder()) {
            r->setComposition({});
            r->insertText(e.text.text);
        }
        break;
    case SDL_KEYDOWN:
        if (e.key.keysym.sym == RotateKey && w) {
            bool left = ui::Application::shared().statusBarOrientation() == ui::Orientation::LandscapeLeft;
            w->rotate(left ? ui::Orientation::LandscapeRight : ui::Orientation::LandscapeLeft);
        } else if (e.key.keysym.sym == MemoryWarningKey) {
            ui::Application::shared().simulateMemoryWarning();
        } else {
            keyDown(e);
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

namespace {

// The character of a printable key on a US layout, for secure inputs that get no text events.
std::string typedCharacter(SDL_Keycode sym, unsigned modifiers) {
    if (sym < 0x20 || sym > 0x7e)
        return {};
    bool shift = modifiers & KMOD_SHIFT;
    char c = char(sym);
    if (c >= 'a' && c <= 'z')
        return std::string(1, char(shift != bool(modifiers & KMOD_CAPS) ? c - 'a' + 'A' : c));
    static constexpr std::string_view plain = "`1234567890-=[]\\;',./", shifted = "~!@#$%^&*()_+{}|:\"<>?";
    if (auto at = plain.find(c); shift && at != std::string_view::npos)
        return std::string(1, shifted[at]);
    return std::string(1, c);
}

} // namespace

void Sdl::keyDown(const SDL_Event &e) {
    ui::Responder *r = ui::Responder::firstResponder();
    if (!r)
        return;
    SDL_Keycode sym = e.key.keysym.sym;
    unsigned mods = e.key.keysym.mod;
    bool shift = mods & KMOD_SHIFT;
    if (mods & KMOD_CTRL) {
        switch (sym) {
        case SDLK_a:
            return r->pressKey(ui::Key::SelectAll, false);
        case SDLK_c:
            return r->pressKey(ui::Key::Copy, false);
        case SDLK_x:
            return r->pressKey(ui::Key::Cut, false);
        case SDLK_v:
            return r->pressKey(ui::Key::Paste, false);
        default:
            return;
        }
    }
    switch (sym) {
    case SDLK_BACKSPACE:
        return r->deleteBackward();
    case SDLK_DELETE:
        return r->pressKey(ui::Key::Delete, shift);
    case SDLK_LEFT:
        return r->pressKey(ui::Key::Left, shift);
    case SDLK_RIGHT:
        return r->pressKey(ui::Key::Right, shift);
    case SDLK_HOME:
        return r->pressKey(ui::Key::Home, shift);
    case SDLK_END:
        return r->pressKey(ui::Key::End, shift);
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return r->pressKey(ui::Key::Return, shift);
    case SDLK_ESCAPE:
        return r->pressKey(ui::Key::Escape, shift);
    default:
        if (secureInput_)
            if (std::string c = typedCharacter(sym, mods); !c.empty())
                r->insertText(c);
    }
}

void Sdl::startTextInput(gfx::Rect caret, bool secure) {
    secureInput_ = secure;
    if (!window_)
        return;
    pumpForInputMethod(!secure);
    if (secure) {
        SDL_StopTextInput();
        return;
    }
    SDL_Rect r{int(caret.x()), int(caret.y()), std::max(1, int(caret.width())), int(caret.height())};
    SDL_SetTextInputRect(&r);
    if (!SDL_IsTextInputActive())
        SDL_StartTextInput();
}

void Sdl::pumpForInputMethod(bool on) {
    if (on == bool(imePump_))
        return;
    if (imePump_)
        imePump_->invalidate();
    imePump_ = nullptr;
    if (on) {
        imePump_ =
            base::Timer::make(PumpInterval, true, base::Action("pump", [this](base::Object *) { pump(); }));
        base::RunLoop::main().addTimer(imePump_, base::RunLoop::Common);
    }
}

void Sdl::stopTextInput() {
    secureInput_ = false;
    pumpForInputMethod(false);
    if (window_)
        SDL_StopTextInput();
}

void Sdl::setClipboardText(const std::string &text) {
    if (window_)
        SDL_SetClipboardText(text.c_str());
    else
        Host::setClipboardText(text);
}

std::string Sdl::clipboardText() const {
    if (!window_)
        return Host::clipboardText();
    char *text = SDL_GetClipboardText();
    std::string copy = text ? text : "";
    SDL_free(text);
    return copy;
}

void Sdl::wheelScroll(float x, float y, float dx, float dy) {
    ui::Window *w = keyWindow();
    if (!w || drag_ != Drag::None)
        return;
    // The innermost scroll view under the pointer with room to move takes the wheel; a strip that
    // only scrolls sideways takes the vertical wheel sideways.
    for (ui::View *v = w->hitTest({x, y}, nullptr); v; v = v->superview()) {
        auto *scroll = dynamic_cast<ui::ScrollView *>(v);
        if (!scroll || !scroll->scrollEnabled)
            continue;
        gfx::Point low = scroll->minimumOffset(), high = scroll->maximumOffset();
        bool across = high.x > low.x, down = high.y > low.y;
        if (!down && across && dx == 0)
            std::swap(dx, dy);
        if ((dy != 0 && down) || (dx != 0 && across)) {
            scroll->scrollBy({-dx * WheelScroll, -dy * WheelScroll});
            return;
        }
    }
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
