#include "ui/Layer.h"

#include "base/Clock.h"
#include "ui/Animator.h"
#include "ui/Compositor.h"

#include <algorithm>
#include <vector>

namespace ui {

// Layers hand their transitions to the animator and run their own implicit moves.

namespace {

constexpr double ImplicitDuration = 0.25;

std::vector<double> &transactions() {
    static std::vector<double> open;
    return open;
}

} // namespace

void Transaction::begin() {
    transactions().push_back(ImplicitDuration);
}

void Transaction::setDuration(double seconds) {
    if (!transactions().empty())
        transactions().back() = std::max(0.0, seconds);
}

void Transaction::commit() {
    if (!transactions().empty())
        transactions().pop_back();
}

void Layer::setTransform(gfx::Transform transform) {
    double now = base::Clock::current().monotonic();
    from_ = presentedTransform();
    transform_ = transform;
    start_ = now;
    duration_ = transactions().empty() ? ImplicitDuration : transactions().back();
    compositor::setNeedsFrameUntil(now + duration_);
}

gfx::Transform Layer::presentedTransform() const {
    double t = base::Clock::current().monotonic() - start_;
    if (duration_ <= 0 || t >= duration_)
        return transform_;
    return Animator::blend(from_, transform_, Animator::ease(Curve::EaseInOut, t / duration_));
}

void Layer::addSublayer(base::Ref<Layer> layer) {
    if (!layer || layer.get() == this)
        return;
    layer->removeFromSuperlayer();
    layer->superlayer_ = this;
    sublayers_.push_back(std::move(layer));
    compositor::setNeedsFrame();
}

void Layer::removeFromSuperlayer() {
    if (!superlayer_)
        return;
    Layer *parent = superlayer_;
    superlayer_ = nullptr;
    std::erase_if(parent->sublayers_, [&](auto &l) { return l.get() == this; });
    compositor::setNeedsFrame();
}

void Layer::addTransition(base::Ref<Transition> transition, std::string key) {
    if (view_)
        Animator::shared().addTransition(*view_, std::move(transition), std::move(key));
}

void Layer::removeAnimation(std::string_view key) {
    if (view_)
        Animator::shared().removeTransition(*view_, key);
}

Transition *Layer::transitionForKey(std::string_view key) const {
    return view_ ? Animator::shared().transition(*view_, key) : nullptr;
}

} // namespace ui
