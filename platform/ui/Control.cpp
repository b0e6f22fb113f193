#include "ui/Control.h"

namespace ui {

namespace {
constexpr float Slop = 70;
}

void Control::addTarget(base::Action action, unsigned events) {
    if (action && events)
        targets_.push_back({std::move(action), events});
}

void Control::removeTarget(const base::Object *target, unsigned events) {
    for (auto &t : targets_)
        if (!target || t.action.matches(target))
            t.events &= ~events;
    std::erase_if(targets_, [](const Target &t) { return t.events == 0; });
}

void Control::sendActions(unsigned events) {
    base::Ref<base::Object> keep = shared_from_this();
    for (const Target &t : std::vector(targets_))
        if (t.events & events)
            t.action(this);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    stateChanged();
}

void Control::setSelected(bool selected) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    stateChanged();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted)
        return;
    highlighted_ = highlighted;
    stateChanged();
}

unsigned Control::state() const {
    unsigned s = Normal;
    if (highlighted_)
        s |= Highlighted;
    if (!enabled_)
        s |= Disabled;
    if (selected_)
        s |= Selected;
    return s;
}

void Control::stateChanged() {
    setNeedsDisplay();
    setNeedsLayout();
}

bool Control::beginTracking(const Touch &, const Event &) {
    return true;
}
bool Control::continueTracking(const Touch &, const Event &) {
    return true;
}
void Control::endTracking(const Touch *, const Event *) {}
void Control::cancelTracking(const Event *) {}

Touch *Control::tracked(const TouchSet &touches) const {
    for (Touch *t : touches)
        if (t->id() == touchId_)
            return t;
    return nullptr;
}

bool Control::near(const Touch &touch) const {
    return bounds().inset(-Slop, -Slop).contains(touch.location(this));
}

void Control::touchesBegan(const TouchSet &touches, const Event &event) {
    if (!enabled_ || touchId_ >= 0) {
        if (!enabled_)
            View::touchesBegan(touches, event);
        return;
    }
    base::Ref<base::Object> keep = shared_from_this();
    Touch &touch = *touches.front();
    touchId_ = touch.id();
    inside_ = true;
    tracking_ = beginTracking(touch, event);
    setHighlighted(true);
    sendActions(touch.tapCount() > 1 ? TouchDown | TouchDownRepeat : TouchDown);
}

void Control::touchesMoved(const TouchSet &touches, const Event &event) {
    Touch *touch = tracked(touches);
    if (!touch) {
        if (!enabled_)
            View::touchesMoved(touches, event);
        return;
    }
    base::Ref<base::Object> keep = shared_from_this();
    inside_ = near(*touch);
    setHighlighted(inside_);
    if (tracking_)
        tracking_ = continueTracking(*touch, event);
    sendActions(inside_ ? TouchDragInside : TouchDragOutside);
}

void Control::touchesEnded(const TouchSet &touches, const Event &event) {
    Touch *touch = tracked(touches);
    if (!touch) {
        if (!enabled_)
            View::touchesEnded(touches, event);
        return;
    }
    base::Ref<base::Object> keep = shared_from_this();
    touchId_ = -1;
    inside_ = near(*touch);
    setHighlighted(false);
    if (tracking_)
        endTracking(touch, &event);
    tracking_ = false;
    sendActions(inside_ ? TouchUpInside : TouchUpOutside);
}

void Control::touchesCancelled(const TouchSet &touches, const Event &event) {
    if (!tracked(touches)) {
        if (!enabled_)
            View::touchesCancelled(touches, event);
        return;
    }
    base::Ref<base::Object> keep = shared_from_this();
    touchId_ = -1;
    setHighlighted(false);
    if (tracking_)
        cancelTracking(&event);
    tracking_ = false;
    sendActions(TouchCancel);
}

} // namespace ui
