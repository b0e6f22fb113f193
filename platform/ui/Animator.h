#pragma once

#include "base/Object.h"
#include "gfx/Surface.h"
#include "ui/View.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Transition;

struct TransitionDelegate : base::Object {
    virtual base::Opt<void> animationDidStop(Transition &, bool) { return base::notImplemented; }
};

// A change of a layer's content shown as a push, fade, flip or turn of a cube.
class Transition : public base::Object {
public:
    enum class Type { Fade, Push, MoveIn, Reveal, Flip, Cube };
    enum class From { Left, Right, Top, Bottom };

    Type type = Type::Fade;
    From subtype = From::Left;
    double duration = 0.25;
    Curve timing = Curve::Linear;
    bool fillForwards = false;
    base::Weak<TransitionDelegate> delegate;

    // The platform's type names: "fade", "push", "moveIn", "reveal", "oglFlip", "cube"; fade for others.
    static Type typeNamed(std::string_view name);
    static From subtypeNamed(std::string_view name);
};

// Runs the view animations and layer transitions on the main run loop. The model takes each new
// value at once; only what is shown moves from the value on screen to the new one. Completions
// run on the run loop after delay + duration, in commit order, never inside the commit.
class Animator {
public:
    static Animator &shared();

    void begin(std::string name, base::Ref<base::Object> context);
    void setDuration(double seconds);
    void setDelay(double seconds);
    void setCurve(Curve curve);
    void setDidStop(std::function<void(const std::string &, bool)> callback);
    void setCompletion(std::function<void(bool)> completion);
    void commit();

    // Called by views after a model change; starts animations inside a block.
    void modelChanged(View &view, const Look &before);
    // What the view shows now.
    Look presentation(const View &view) const;

    void addTransition(View &view, base::Ref<Transition> transition, std::string key);
    void removeTransition(const View &view, std::string_view key);
    Transition *transition(const View &view, std::string_view key) const;
    // Draws the running transition of the view in its bounds space; false when it has none.
    bool drawTransition(View &view, gfx::Context &context);

    // Whether anything is moving on screen.
    bool busy() const;
    // Whether a view's animated value (not a transition) is moving.
    bool animatingViews() const;
    // The eased progress of a curve at linear time t in [0, 1].
    static double ease(Curve curve, double t);
    // The transform k of the way from a to b, turning rotations rather than squashing them.
    static gfx::Transform blend(const gfx::Transform &a, const gfx::Transform &b, double k);

private:
    struct Group;
    struct Change;
    struct Running;
    Animator();
    void finish(const std::shared_ptr<Group> &group);
    void endTransition(const std::shared_ptr<Running> &running, bool finished);
    double now() const;
    // What the view shows when its model is `model`.
    Look presentationOver(const View &view, Look model) const;

    std::vector<std::shared_ptr<Group>> open_;
    std::map<const View *, std::vector<Change>> changes_;
    std::vector<std::shared_ptr<Running>> transitions_;
};

} // namespace ui
