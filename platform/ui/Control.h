#pragma once

#include "base/Action.h"
#include "ui/View.h"

#include <vector>

namespace ui {

enum ControlEvent : unsigned {
    TouchDown = 1u << 0,
    TouchDownRepeat = 1u << 1,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    AllTouchEvents = 0xFFFu,
    AllEvents = 0xFFFFFFFFu,
};

enum ControlState : unsigned { Normal = 0, Highlighted = 1, Disabled = 2, Selected = 4 };

// A view that turns the first finger on it into control events and sends each event's actions
// (with itself as the sender). It stays highlighted while the finger is on it or within 70 points
// of it; lifting there is touch-up-inside. A disabled control passes its touches on.
class Control : public View {
public:
    using View::View;

    void addTarget(base::Action action, unsigned events);
    // Removes the target's actions for those events; nullptr removes every target's.
    void removeTarget(const base::Object *target, unsigned events);
    void sendActions(unsigned events);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    unsigned state() const;

    virtual bool beginTracking(const Touch &touch, const Event &event);
    virtual bool continueTracking(const Touch &touch, const Event &event);
    virtual void endTracking(const Touch *touch, const Event *event);
    virtual void cancelTracking(const Event *event);
    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return inside_; }

    void touchesBegan(const TouchSet &touches, const Event &event) override;
    void touchesMoved(const TouchSet &touches, const Event &event) override;
    void touchesEnded(const TouchSet &touches, const Event &event) override;
    void touchesCancelled(const TouchSet &touches, const Event &event) override;

protected:
    // The state changed: redraw or lay out again.
    virtual void stateChanged();

private:
    Touch *tracked(const TouchSet &touches) const;
    bool near(const Touch &touch) const;

    struct Target {
        base::Action action;
        unsigned events;
    };
    std::vector<Target> targets_;
    bool enabled_ = true, selected_ = false, highlighted_ = false;
    bool tracking_ = false, inside_ = false;
    int touchId_ = -1;
};

} // namespace ui
