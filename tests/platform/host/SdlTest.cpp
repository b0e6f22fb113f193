#include "host/Sdl.h"
#include "Golden.h"
#include "Scenes.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/RunLoop.h"
#include "base/Timer.h"
#include "host/Offscreen.h"
#include "host/Run.h"
#include "ui/Alert.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace host {
namespace {

using base::make;
using base::Ref;

// Takes typed text.
struct Field : ui::View {
    using View::View;
    std::string text;
    bool canBecomeFirstResponder() const override { return true; }
    void insertText(const std::string &t) override { text += t; }
    void deleteBackward() override {
        if (!text.empty())
            text.pop_back();
    }
};

// An SDL window on the real display when there is one, else on SDL's display-less driver.
struct SdlTest : ::testing::Test {
    base::VirtualClock clock;
    Sdl sdl;
    Ref<ui::Window> window = make<ui::Window>(gfx::Rect{0, 0, 1024, 768});
    std::optional<int> status;

    void SetUp() override {
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            setenv("SDL_VIDEODRIVER", "dummy", 1);
        base::Clock::setCurrent(&clock);
        window->makeKeyAndVisible();
        ui::Application::setTerminateHandler([this](int s) { status = s; });
        if (!sdl.open("test"))
            GTEST_SKIP() << "SDL cannot open a window here";
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        sdl.close();
        ui::Application::setTerminateHandler({});
        ui::Application::shared().removeWindow(window.get());
        base::Clock::setCurrent(nullptr);
    }
    void push(SDL_Event e) { SDL_PushEvent(&e); }
    void button(Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x, e.button.y = y;
        push(e);
    }
    void motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x, e.motion.y = y;
        push(e);
    }
};

TEST_F(SdlTest, AClickIsATapAndFramesAreDrawn) {
    auto b = ui::Button::custom({100, 100, 80, 40});
    window->addSubview(b);
    int taps = 0;
    b->addTarget(base::Action("tap", [&](base::Object *) { ++taps; }), ui::TouchUpInside);
    button(SDL_MOUSEBUTTONDOWN, 120, 110);
    button(SDL_MOUSEBUTTONUP, 120, 110);
    sdl.pump();
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(sdl.framesPresented(), 1);
    sdl.pump();
    EXPECT_EQ(sdl.framesPresented(), 1);
    clock.advance(0.5);
    EXPECT_EQ(sdl.framesPresented(), 1) << "an idle window draws nothing";
    b->setHidden(true);
    clock.advance(0.05);
    EXPECT_EQ(sdl.framesPresented(), 2) << "the run loop pumps and draws what changed";
    b->setCenter({300, 300});
    clock.advance(0.05);
    EXPECT_EQ(sdl.framesPresented(), 2) << "a change nobody sees draws nothing";
    b->setHidden(false);
    sdl.pump();
    EXPECT_EQ(sdl.framesPresented(), 3);
    b->setCenter({310, 300});
    sdl.pump();
    EXPECT_EQ(sdl.framesPresented(), 3) << "no more than 60 frames a second";
    clock.advance(0.05);
    EXPECT_EQ(sdl.framesPresented(), 4);
    ui::View::animate(0.5, [&] { b->setAlpha(0.5f); });
    clock.advance(0.6);
    EXPECT_GE(sdl.framesPresented(), 4 + 20) << "an animation draws all along";
    int afterwards = sdl.framesPresented();
    clock.advance(0.5);
    EXPECT_LE(sdl.framesPresented(), afterwards + 1);
}

TEST_F(SdlTest, AnIdleWindowSleepsUntilInputOrATimerWakesIt) {
    auto label = make<ui::Label>(gfx::Rect{20, 20, 200, 30});
    label->setText("上证指数");
    window->addSubview(label);
    base::RunLoop &loop = base::RunLoop::main();
    clock.advance(0.1);
    loop.runOnce(base::RunLoop::Default, 0);
    int frames = sdl.framesPresented(), wakeUps = sdl.wakeUps();
    EXPECT_EQ(frames, 1);

    clock.advance(1);
    loop.runOnce(base::RunLoop::Default, 0);
    EXPECT_EQ(sdl.wakeUps(), wakeUps) << "a second of nothing wakes nothing";
    EXPECT_EQ(sdl.framesPresented(), frames);
    EXPECT_FALSE(loop.nextDeadline()) << "no timer waits";

    button(SDL_MOUSEBUTTONDOWN, 30, 30);
    loop.runOnce(base::RunLoop::Default, 0);
    EXPECT_EQ(sdl.wakeUps(), wakeUps + 1) << "input wakes it at once";
    EXPECT_EQ(window->activeTouches().size(), 1u);
    button(SDL_MOUSEBUTTONUP, 30, 30);
    loop.runOnce(base::RunLoop::Default, 0);
    EXPECT_TRUE(window->activeTouches().empty());

    frames = sdl.framesPresented();
    auto tick = base::Timer::scheduled(
        0.5, false, base::Action("tick", [&](base::Object *) { label->setText("深证成指"); }));
    clock.advance(1);
    EXPECT_EQ(sdl.framesPresented(), frames + 1) << "what a timer changed is drawn";
    EXPECT_FALSE(loop.nextDeadline());
}

TEST_F(SdlTest, CtrlDragIsATwoFingerPan) {
    auto pan = make<ui::PanRecognizer>();
    pan->minTouches = pan->maxTouches = 2;
    window->addGestureRecognizer(pan);
    std::vector<ui::GestureState> states;
    pan->addTarget(base::Action("pan", [&](base::Object *) { states.push_back(pan->state()); }));
    SDL_SetModState(KMOD_LCTRL);
    button(SDL_MOUSEBUTTONDOWN, 300, 300);
    motion(300, 330);
    motion(300, 360);
    button(SDL_MOUSEBUTTONUP, 300, 360);
    sdl.pump();
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(states,
              (std::vector{ui::GestureState::Began, ui::GestureState::Changed, ui::GestureState::Ended}));
    EXPECT_EQ(pan->translation(nullptr), (gfx::Point{0, 60}));
}

TEST_F(SdlTest, CtrlWheelPinchesAboutThePointer) {
    auto pinch = make<ui::PinchRecognizer>();
    window->addGestureRecognizer(pinch);
    float scale = 0;
    pinch->addTarget(base::Action("pinch", [&](base::Object *) { scale = pinch->scale; }));
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = 2;
    e.wheel.mouseX = 500, e.wheel.mouseY = 400;
    SDL_SetModState(KMOD_LCTRL);
    push(e);
    sdl.pump();
    SDL_SetModState(KMOD_NONE);
    EXPECT_NEAR(scale, 1.21f, 0.01f);
}

TEST_F(SdlTest, TextGoesToTheFirstResponderAndClosingQuits) {
    auto field = make<Field>(gfx::Rect{0, 0, 100, 30});
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "600");
    push(text);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_BACKSPACE;
    push(key);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    sdl.pump();
    EXPECT_EQ(field->text, "60");
    EXPECT_EQ(status, 0);
    field->resignFirstResponder();
}

TEST_F(SdlTest, ControllerScenesShowAsTheirGoldenImages) {
    for (const std::string &name : ui::testing::Scenes::names()) {
        ui::testing::Scenes scenes(*window, clock);
        ASSERT_TRUE(scenes.build(name));
        sdl.present();
        EXPECT_TRUE(qvtest::matchesGolden(sdl.lastFrame(), "ui/" + name)) << name;
    }
}

TEST_F(SdlTest, KeysTurnTheInterfaceAndWarnOfShortMemory) {
    struct Probe : ui::ViewController {
        int warnings = 0;
        void didReceiveMemoryWarning() override { ++warnings; }
    };
    auto probe = make<Probe>();
    window->setRootViewController(probe);
    auto key = [&](SDL_Keycode k) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        push(e);
        sdl.pump();
    };
    key(SDLK_F7);
    EXPECT_EQ(ui::Application::shared().statusBarOrientation(), ui::Orientation::LandscapeRight);
    key(SDLK_F7);
    EXPECT_EQ(ui::Application::shared().statusBarOrientation(), ui::Orientation::LandscapeLeft);
    key(SDLK_F8);
    EXPECT_EQ(probe->warnings, 1);
    window->setRootViewController(nullptr);
}

TEST_F(SdlTest, OpeningAnAddressDoesNotWaitForTheOpener) {
    // A stand-in for the desktop's opener that takes its time, first on the search path.
    std::string dir = base::FileManager::uniqueTemporaryPath();
    ASSERT_TRUE(base::FileManager::createDirectory(dir, true));
    std::string marker = base::Paths::join(dir, "opened"), opener = base::Paths::join(dir, "xdg-open");
    ASSERT_TRUE(base::FileManager::writeAtomically(
        opener, base::Data::fromString("#!/bin/sh\nsleep 2\necho \"$1\" > '" + marker + "'\n")));
    chmod(opener.c_str(), 0755);
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + path).c_str(), 1);
    EXPECT_TRUE(sdl.openUrl("http://127.0.0.1/download"));
    EXPECT_FALSE(base::FileManager::exists(marker)) << "the call came back while the opener still runs";
    setenv("PATH", dir.c_str(), 1);
    base::FileManager::remove(opener);
    EXPECT_FALSE(sdl.openUrl("http://127.0.0.1/download")) << "no opener at all";
    setenv("PATH", path.c_str(), 1);
}

TEST_F(SdlTest, TextInputRunsOnlyWhileATextInputIsFirstResponder) {
    auto field = make<ui::TextField>(gfx::Rect{100, 100, 200, 30});
    auto password = make<ui::TextField>(gfx::Rect{100, 150, 200, 30});
    password->setSecureTextEntry(true);
    window->addSubview(field);
    window->addSubview(password);
    EXPECT_FALSE(SDL_IsTextInputActive());

    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(SDL_IsTextInputActive());
    SDL_Event edit{};
    edit.type = SDL_TEXTEDITING_EXT;
    edit.editExt.text = SDL_strdup("zhongguopinganyinhang");
    push(edit);
    sdl.pump();
    EXPECT_EQ(field->composition(), "zhongguopinganyinhang");
    EXPECT_EQ(field->text(), "");
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "平安");
    push(text);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_LEFT;
    key.key.keysym.mod = KMOD_LSHIFT;
    push(key);
    sdl.pump();
    EXPECT_EQ(field->text(), "平安");
    EXPECT_EQ(field->composition(), "");
    EXPECT_EQ(field->selectedRange(), (ui::Range{1, 1}));

    // A password gets its characters from the keys, with the input method off.
    ASSERT_TRUE(password->becomeFirstResponder());
    EXPECT_FALSE(SDL_IsTextInputActive());
    for (auto [sym, mod] : {std::pair{SDLK_a, KMOD_LSHIFT}, {SDLK_1, KMOD_NONE}, {SDLK_1, KMOD_LSHIFT}}) {
        key.key.keysym.sym = sym;
        key.key.keysym.mod = Uint16(mod);
        push(key);
    }
    sdl.pump();
    EXPECT_EQ(password->text(), "A1!");

    field->becomeFirstResponder();
    EXPECT_TRUE(SDL_IsTextInputActive());
    field->resignFirstResponder();
    EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(SdlTest, TheWheelScrollsTheScrollViewUnderThePointer) {
    auto list = make<ui::ScrollView>(gfx::Rect{0, 0, 400, 400});
    list->setContentSize({400, 2000});
    auto strip = make<ui::ScrollView>(gfx::Rect{0, 100, 400, 50});
    strip->setContentSize({1000, 50});
    list->addSubview(strip);
    window->addSubview(list);
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = -2;
    e.wheel.preciseY = -2;
    e.wheel.mouseX = 200, e.wheel.mouseY = 300;
    push(e);
    sdl.pump();
    EXPECT_EQ(list->contentOffset(), (gfx::Point{0, 80}));
    // Over the sideways strip (now at 20 in the window) the wheel moves the strip.
    e.wheel.mouseY = 40;
    push(e);
    sdl.pump();
    EXPECT_EQ(strip->contentOffset(), (gfx::Point{80, 0}));
    EXPECT_EQ(list->contentOffset(), (gfx::Point{0, 80}));
}

TEST(OffscreenHost, WritesTheKeyWindowToAPngWithoutADisplay) {
    TestApp app;
    app.window().setBackgroundColor(gfx::Color::blue());
    std::string path = base::Paths::join(base::Paths::temporary(), "offscreen-window.png");
    ASSERT_TRUE(app.renderPng(path));
    gfx::Surface back = gfx::Surface::readFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back.width(), 1024);
    EXPECT_EQ(back.height(), 768);
    EXPECT_EQ(back.pixel(500, 400), (gfx::Rgba8{0, 0, 255, 255}));
    base::FileManager::remove(path);
}

TEST(OffscreenHost, UsesTheCallersClockAndGivesTheOldOneBack) {
    base::VirtualClock outer, mine;
    base::Clock::setCurrent(&outer);
    {
        TestApp app(&mine);
        EXPECT_EQ(&base::Clock::current(), &mine);
        app.advance(2);
        EXPECT_EQ(mine.monotonic(), 2);
        ui::Toast::show("已断开");
        EXPECT_EQ(app.toasts().at(0).time, 2);
    }
    EXPECT_EQ(&base::Clock::current(), &outer);
    base::Clock::setCurrent(nullptr);
}

TEST(OffscreenHost, RunsTheApplicationWithoutADisplayAndWritesItsWindow) {
    struct Delegate : ui::ApplicationDelegate {
        Ref<ui::Window> window = make<ui::Window>(gfx::Rect{0, 0, 1024, 768});
        bool didFinishLaunching(ui::Application &, const base::Dict &) override {
            window->setBackgroundColor(gfx::Color::red());
            window->makeKeyAndVisible();
            return true;
        }
    };
    auto delegate = make<Delegate>();
    RunOptions options;
    options.useDisplay = false;
    options.pngPath = base::Paths::join(base::Paths::temporary(), "offscreen-run.png");
    EXPECT_EQ(run(delegate, {}, options), 0);
    EXPECT_EQ(gfx::Surface::readFile(options.pngPath).pixel(10, 10), (gfx::Rgba8{255, 0, 0, 255}));
    options.pngPath = "/nonexistent/dir/x.png";
    EXPECT_EQ(run(delegate, {}, options), 1);
    ui::Application::shared().removeWindow(delegate->window.get());
    ui::Application::shared().launch(nullptr);
}

} // namespace
} // namespace host
