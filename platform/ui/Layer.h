#pragma once

#include "base/Object.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "gfx/Image.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Transition;
class View;

// The look every view's backing layer adds to the view (corners, border, shadow), and a
// stand-alone layer drawn above its host view's own content: an image scaled into its frame.
// Setting the fields tells no one: a host draws the change with the next frame, which the view's
// setNeedsDisplay asks for.
class Layer : public base::Object {
public:
    enum class Gravity { Resize, ResizeAspect, Center };

    // Stand-alone layers only: where they sit in the host layer and what they show.
    gfx::Rect frame;
    base::Ref<gfx::Image> contents;
    Gravity gravity = Gravity::Resize;
    float opacity = 1;
    bool hidden = false;

    float cornerRadius = 0;
    bool masksToBounds = false;
    float borderWidth = 0;
    base::Ref<gfx::Color> borderColor;
    base::Ref<gfx::Color> backgroundColor;
    gfx::Size shadowOffset{0, -3};
    float shadowOpacity = 0;
    float shadowRadius = 3;
    base::Ref<gfx::Color> shadowColor;

    // A stand-alone layer's transform about its centre. A change moves there over the open
    // transaction's duration (0.25 s outside any transaction), starting from what shows.
    const gfx::Transform &transform() const { return transform_; }
    void setTransform(gfx::Transform transform);
    gfx::Transform presentedTransform() const;

    // The view this layer backs; nullptr for a stand-alone layer.
    View *view() const { return view_; }

    void addSublayer(base::Ref<Layer> layer);
    void removeFromSuperlayer();
    const std::vector<base::Ref<Layer>> &sublayers() const { return sublayers_; }
    Layer *superlayer() const { return superlayer_; }

    // Runs the transition over the backing view's subtree: what shows now is kept as "before"
    // and slides, fades or turns into what the view shows later. A transition under the same key
    // replaces the running one. Only layers that back a view can run transitions.
    void addTransition(base::Ref<Transition> transition, std::string key);
    void removeAnimation(std::string_view key);
    Transition *transitionForKey(std::string_view key) const;

private:
    friend class View;
    gfx::Transform transform_, from_;
    double start_ = 0, duration_ = 0;
    View *view_ = nullptr;
    Layer *superlayer_ = nullptr;
    std::vector<base::Ref<Layer>> sublayers_;
};

// Groups layer changes: those made between begin and commit move over the set duration; a
// duration of 0 applies them at once.
struct Transaction {
    static void begin();
    static void setDuration(double seconds);
    static void commit();
};

} // namespace ui
