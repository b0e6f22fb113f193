#include "ui/Responder.h"

#include "ui/View.h"
#include "ui/Window.h"

namespace ui {

namespace {
Responder *first = nullptr;
}

Touch::Touch(int id, Window &window, gfx::Point point, double timestamp)
    : id_(id), window_(window.weakSelf<Window>()), point_(point), previous_(point), timestamp_(timestamp) {}

gfx::Point Touch::location(const View *in) const {
    Window *w = window();
    if (!w || !in)
        return point_;
    return w->convert(point_, in);
}

gfx::Point Touch::previousLocation(const View *in) const {
    Window *w = window();
    if (!w || !in)
        return previous_;
    return w->convert(previous_, in);
}

TouchSet Event::touchesFor(const View *view) const {
    TouchSet set;
    for (const auto &t : all_)
        if (t->view() == view)
            set.push_back(t.get());
    return set;
}

Responder::~Responder() {
    if (first == this)
        first = nullptr;
}

bool Responder::becomeFirstResponder() {
    if (!canBecomeFirstResponder())
        return false;
    if (first && first != this && !first->resignFirstResponder())
        return false;
    first = this;
    return true;
}

bool Responder::resignFirstResponder() {
    if (first == this)
        first = nullptr;
    return true;
}

bool Responder::isFirstResponder() const {
    return first == this;
}

Responder *Responder::firstResponder() {
    return first;
}

void Responder::touchesBegan(const TouchSet &t, const Event &e) {
    if (Responder *next = nextResponder())
        next->touchesBegan(t, e);
}

void Responder::touchesMoved(const TouchSet &t, const Event &e) {
    if (Responder *next = nextResponder())
        next->touchesMoved(t, e);
}

void Responder::touchesEnded(const TouchSet &t, const Event &e) {
    if (Responder *next = nextResponder())
        next->touchesEnded(t, e);
}

void Responder::touchesCancelled(const TouchSet &t, const Event &e) {
    if (Responder *next = nextResponder())
        next->touchesCancelled(t, e);
}

} // namespace ui
