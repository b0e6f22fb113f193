#include "host/Offscreen.h"

#include "base/Clock.h"
#include "ui/Application.h"

namespace host {

Offscreen::Offscreen(base::VirtualClock *clock)
    : clock_(clock ? clock : &ownClock_), previousClock_(&base::Clock::current()) {
    base::Clock::setCurrent(clock_);
    ui::Host::setCurrent(this);
}

Offscreen::~Offscreen() {
    ui::Alert::discardAll();
    if (ui::Host::current() == this)
        ui::Host::setCurrent(nullptr);
    if (&base::Clock::current() == clock_)
        base::Clock::setCurrent(previousClock_ == clock_ ? nullptr : previousClock_);
}

void Offscreen::advance(double seconds) {
    clock_->advance(seconds);
}

ui::Window *Offscreen::window() const {
    return ui::Application::shared().keyWindow();
}

gfx::Surface Offscreen::render() {
    ui::Window *w = window();
    return w ? w->render() : gfx::Surface();
}

bool Offscreen::renderPng(const std::string &path) {
    gfx::Surface s = render();
    return s && s.writePng(path);
}

void Offscreen::touchDown(int id, gfx::Point point) {
    if (ui::Window *w = window())
        w->touchDown(id, point, clock_->monotonic());
}

void Offscreen::touchMove(int id, gfx::Point point) {
    if (ui::Window *w = window())
        w->touchMove(id, point, clock_->monotonic());
}

void Offscreen::touchesMove(const std::vector<std::pair<int, gfx::Point>> &moves) {
    if (ui::Window *w = window())
        w->touchesMove(moves, clock_->monotonic());
}

void Offscreen::touchUp(int id) {
    if (ui::Window *w = window())
        w->touchUp(id, clock_->monotonic());
}

void Offscreen::touchCancel(int id) {
    if (ui::Window *w = window())
        w->touchCancel(id, clock_->monotonic());
}

void Offscreen::tap(gfx::Point point) {
    touchDown(1, point);
    advance(0.05);
    touchUp(1);
}

void Offscreen::drag(gfx::Point from, gfx::Point to, int steps, double seconds) {
    slide(from, to, steps, seconds);
    touchUp(1);
}

void Offscreen::dragAndRest(gfx::Point from, gfx::Point to, int steps, double seconds) {
    slide(from, to, steps, seconds);
    advance(0.2);
    touchUp(1);
}

void Offscreen::slide(gfx::Point from, gfx::Point to, int steps, double seconds) {
    steps = std::max(1, steps);
    touchDown(1, from);
    for (int i = 1; i <= steps; ++i) {
        advance(seconds / steps);
        float k = float(i) / float(steps);
        touchMove(1, {from.x + (to.x - from.x) * k, from.y + (to.y - from.y) * k});
    }
}

void Offscreen::typeText(const std::string &text) {
    if (ui::Responder *r = ui::Responder::firstResponder())
        r->insertText(text);
}

void Offscreen::pressBackspace() {
    if (ui::Responder *r = ui::Responder::firstResponder())
        r->deleteBackward();
}

void Offscreen::pressKey(ui::Key key, bool shift) {
    if (ui::Responder *r = ui::Responder::firstResponder())
        r->pressKey(key, shift);
}

void Offscreen::compose(const std::string &text) {
    if (ui::Responder *r = ui::Responder::firstResponder())
        r->setComposition(text);
}

void Offscreen::commit(const std::string &text) {
    if (ui::Responder *r = ui::Responder::firstResponder()) {
        r->setComposition({});
        r->insertText(text);
    }
}

bool Offscreen::pressAlertButton(int index) {
    auto visible = visibleAlerts();
    if (visible.empty() || index < 0 || index >= visible.back()->buttonCount())
        return false;
    base::Ref<ui::Alert> alert = visible.back();
    gfx::Rect r = alert->buttonFrame(index);
    if (window() && alert->window() == window()) {
        tap({r.midX(), r.midY()});
        return !alert->isVisible();
    }
    alert->press(index);
    return true;
}

bool Offscreen::openUrl(const std::string &url) {
    urls_.push_back(url);
    return true;
}

void Offscreen::alertShown(ui::Alert &alert) {
    AlertRecord record{alert.title(), alert.message(), {}, alert.weakSelf<ui::Alert>(), {}};
    for (int i = 0; i < alert.buttonCount(); ++i)
        record.buttons.push_back(alert.buttonTitle(i));
    alerts_.push_back(std::move(record));
}

void Offscreen::alertDismissed(ui::Alert &alert, int index) {
    for (auto it = alerts_.rbegin(); it != alerts_.rend(); ++it)
        if (it->alert.lock().get() == &alert && !it->dismissedWith) {
            it->dismissedWith = index;
            return;
        }
}

void Offscreen::toastShown(const std::string &text, ui::View &) {
    toasts_.push_back({text, clock_->monotonic()});
}

TestApp::TestApp(base::VirtualClock *clock)
    : Offscreen(clock), window_(base::make<ui::Window>(gfx::Rect{{0, 0}, ui::Screen::main().windowSize()})) {
    window_->makeKeyAndVisible();
    ui::Application::setTerminateHandler([this](int status) { status_ = status; });
}

TestApp::~TestApp() {
    ui::Application::setTerminateHandler({});
    ui::Alert::discardAll();
    ui::Application::shared().removeWindow(window_.get());
}

} // namespace host
