#include "VirtualDisplay.h"

#include "base/RunLoop.h"
#include "base/VirtualClock.h"
#include "host/Sdl.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>
// Last: its macros would clash with the names above.
#include <X11/Xlib.h>

namespace app {
namespace {

// The SDL window on a virtual X display, with input sent by a second client of the display, as a
// person's mouse would arrive.
class SdlInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.running())
            GTEST_SKIP() << "Xvfb is not available";
        base::Clock::setCurrent(&clock);
        window->makeKeyAndVisible();
        // SDL drops a click that comes within moments of the window taking the focus, as these do.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        ASSERT_TRUE(sdl.open("input")) << "SDL cannot open a window on " << display.display();
        other = XOpenDisplay(display.display().c_str());
        ASSERT_TRUE(other);
        Window root = DefaultRootWindow(other), parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(other, root, &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(other, children[i], &attributes) && attributes.map_state == IsViewable)
                target = children[i];
        }
        XFree(children);
        ASSERT_TRUE(target) << "the window is on the display";
        settle();
    }
    void TearDown() override {
        if (other)
            XCloseDisplay(other);
        sdl.close();
        ui::Application::shared().removeWindow(window.get());
        base::Clock::setCurrent(nullptr);
    }
    // Lets the host handle what is waiting, without moving the clock.
    void settle() {
        for (int i = 0; i < 5; ++i)
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0);
    }
    // A click at the point, from the other client, in the display server's hands when it returns.
    void sendClick(int x, int y) {
        XEvent event{};
        event.xmotion = {
            MotionNotify, 0,   True, other, target, DefaultRootWindow(other), 0, 0, x, y, x, y, 0,
            NotifyNormal, True};
        XSendEvent(other, target, False, PointerMotionMask, &event);
        for (int type : {ButtonPress, ButtonRelease}) {
            event = {};
            event.xbutton = {type,
                             0,
                             True,
                             other,
                             target,
                             DefaultRootWindow(other),
                             0,
                             0,
                             x,
                             y,
                             x,
                             y,
                             type == ButtonPress ? 0u : unsigned(Button1Mask),
                             Button1,
                             True};
            XSendEvent(other, target, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
                       &event);
        }
        XSync(other, False);
    }

    VirtualDisplay display;
    base::VirtualClock clock;
    host::Sdl sdl;
    base::Ref<ui::Window> window = base::make<ui::Window>(gfx::Rect{0, 0, 1024, 768});
    Display *other = nullptr;
    Window target = 0;
};

// A frame waits on the display server and reads the input that came meanwhile off the connection;
// the click must still be handled at once, not when the next input arrives.
TEST_F(SdlInputTest, AClickThatArrivesWhileAFrameIsDrawnIsHandledAtOnce) {
    auto button = ui::Button::custom({100, 100, 80, 40});
    int taps = 0;
    button->addTarget(base::Action("tap", [&](base::Object *) { ++taps; }), ui::TouchUpInside);
    window->addSubview(button);
    auto changing = base::make<ui::View>(gfx::Rect{400, 400, 50, 50});
    window->addSubview(changing);
    settle();

    sendClick(120, 110);
    settle();
    ASSERT_EQ(taps, 1) << "a click on an idle window";

    sendClick(120, 110);
    changing->setBackgroundColor(gfx::Color::white());
    sdl.present();
    settle();
    EXPECT_EQ(taps, 2) << "a click read off the connection by a frame";
}

} // namespace
} // namespace app
