#pragma once

#include "base/VirtualClock.h"
#include "gfx/Surface.h"
#include "ui/Alert.h"
#include "ui/Host.h"
#include "ui/Window.h"

#include <optional>
#include <string>
#include <vector>

namespace host {

// An alert as it was shown, kept after it is gone.
struct AlertRecord {
    std::string title, message;
    std::vector<std::string> buttons;
    base::Weak<ui::Alert> alert;
    // The index it was dismissed with, once it was.
    std::optional<int> dismissedWith;
};

struct ToastRecord {
    std::string text;
    double time; // on the host's clock
};

// A host without a display, for tests and for writing screens to PNG files. It installs a
// virtual clock while it lives (its own, or the caller's), so time moves only through advance();
// touches carry that time. It records every alert, toast and opened address. The clock in use
// before comes back when it goes.
class Offscreen : public ui::Host {
public:
    explicit Offscreen(base::VirtualClock *clock = nullptr);
    ~Offscreen() override;
    Offscreen(const Offscreen &) = delete;
    Offscreen &operator=(const Offscreen &) = delete;

    base::VirtualClock &clock() { return *clock_; }
    // Moves the clock on, running the timers, deferred calls and animation completions that fall
    // due on the way, each at its own time.
    void advance(double seconds);
    // Runs what is due now, such as calls deferred to the next pass.
    void runPending() { advance(0); }

    // The application's key window; nullptr when there is none.
    ui::Window *window() const;
    // Lays out, draws and composites the key window.
    gfx::Surface render();
    bool renderPng(const std::string &path);

    // Fingers on the key window, in window coordinates, at the clock's time.
    void touchDown(int id, gfx::Point point);
    void touchMove(int id, gfx::Point point);
    void touchesMove(const std::vector<std::pair<int, gfx::Point>> &moves);
    void touchUp(int id);
    void touchCancel(int id);
    // A finger down and up again at the point, 0.05 s apart.
    void tap(gfx::Point point);
    // One finger from `from` to `to` in `steps` moves spread over `seconds`, then lifted at once:
    // a scroll view under it goes on with the speed of the last move.
    void drag(gfx::Point from, gfx::Point to, int steps = 5, double seconds = 0.25);
    // The same drag, but the finger rests before it lifts, so the content keeps no momentum.
    void dragAndRest(gfx::Point from, gfx::Point to, int steps = 5, double seconds = 0.25);
    // A quick throw: a drag of a tenth of a second, lifted at once.
    void fling(gfx::Point from, gfx::Point to) { drag(from, to, 4, 0.1); }
    // Text for the first responder, and the backspace key.
    void typeText(const std::string &text);
    void pressBackspace();
    void pressKey(ui::Key key, bool shift = false);
    // The input method: a composition in progress, then the text it commits.
    void compose(const std::string &text);
    void commit(const std::string &text);
    // What the text inputs asked of the host last.
    struct TextInput {
        bool active = false;
        gfx::Rect caret;
        bool secure = false;
    };
    const TextInput &textInput() const { return textInput_; }
    void startTextInput(gfx::Rect caret, bool secure) override { textInput_ = {true, caret, secure}; }
    void stopTextInput() override { textInput_.active = false; }

    const std::vector<AlertRecord> &alerts() const { return alerts_; }
    std::vector<base::Ref<ui::Alert>> visibleAlerts() const { return ui::Alert::visibleAlerts(); }
    // Taps the button of the newest visible alert; false when there is no such alert or button.
    bool pressAlertButton(int index);
    const std::vector<ToastRecord> &toasts() const { return toasts_; }
    const std::vector<std::string> &openedUrls() const { return urls_; }

    bool openUrl(const std::string &url) override;
    void alertShown(ui::Alert &alert) override;
    void alertDismissed(ui::Alert &alert, int index) override;
    void toastShown(const std::string &text, ui::View &view) override;

private:
    // Finger 1 down at `from` and moved to `to`, still down.
    void slide(gfx::Point from, gfx::Point to, int steps, double seconds);

    base::VirtualClock ownClock_;
    base::VirtualClock *clock_;
    base::Clock *previousClock_;
    std::vector<AlertRecord> alerts_;
    std::vector<ToastRecord> toasts_;
    std::vector<std::string> urls_;
    TextInput textInput_;
};

// What logic tests need of the user interface: an offscreen host with a key window of the screen's
// size, alert and toast records, and a terminate hook that records the status instead of ending
// the process. Make one per test; it leaves no window, alert or clock behind.
class TestApp : public Offscreen {
public:
    explicit TestApp(base::VirtualClock *clock = nullptr);
    ~TestApp() override;

    ui::Window &window() { return *window_; }
    // The status passed to Application::terminate, once it was called.
    std::optional<int> terminatedWith() const { return status_; }

private:
    base::Ref<ui::Window> window_;
    std::optional<int> status_;
};

} // namespace host
