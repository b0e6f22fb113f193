#pragma once

#include "base/Object.h"

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace base {

// Target–action: an operation to run later on behalf of a target. The target is not retained by the
// action itself; whoever schedules it (a timer, a deferred call) keeps it alive until it has run.
// The pair (target, name) identifies the action, so that pending calls can be cancelled by target
// alone or by target and operation name.
class Action {
public:
    // Receives the object that sends the action (the timer that fired), or nullptr.
    using Function = std::function<void(Object *sender)>;

    Action() = default;
    // An action without a target: it always runs and no cancellation by target reaches it.
    Action(std::string name, Function fn) : name_(std::move(name)), fn_(std::move(fn)) {}
    // An action on behalf of `target`: once the target is gone it does nothing.
    Action(const Weak<Object> &target, std::string name, Function fn)
        : target_(target), targetId_(target.lock().get()), targeted_(true), name_(std::move(name)),
          fn_(std::move(fn)) {}

    explicit operator bool() const { return bool(fn_); }
    const std::string &name() const { return name_; }
    // The target's address, for identity only; nullptr for an action without a target.
    const Object *targetId() const { return targetId_; }
    bool hasTarget() const { return targeted_; }
    // A retained reference to a live target; nullptr when there is none or it is gone.
    Ref<Object> target() const { return target_.lock(); }
    // Whether the action belongs to `target` and, when `name` is not empty, has that name.
    bool matches(const Object *target, std::string_view name = {}) const {
        return target && targetId_ == target && (name.empty() || name == name_);
    }

    void operator()(Object *sender = nullptr) const {
        if (!fn_)
            return;
        if (!targeted_) {
            fn_(sender);
            return;
        }
        if (Ref<Object> alive = target_.lock())
            fn_(sender);
    }

private:
    Weak<Object> target_;
    const Object *targetId_ = nullptr;
    bool targeted_ = false;
    std::string name_;
    Function fn_;
};

// An action that calls a member function of `target` (an Object owned by a Ref). The member takes
// no argument or a pointer to the sender's type; a sender of another type arrives as nullptr.
template <class T, class C> Action action(T *target, std::string name, void (C::*method)()) {
    static_assert(std::is_base_of_v<C, T>);
    return Action(target->weak_from_this(), std::move(name),
                  [target, method](Object *) { (target->*method)(); });
}

template <class T, class C, class S> Action action(T *target, std::string name, void (C::*method)(S *)) {
    static_assert(std::is_base_of_v<C, T>);
    return Action(target->weak_from_this(), std::move(name),
                  [target, method](Object *sender) { (target->*method)(dynamic_cast<S *>(sender)); });
}

} // namespace base

// The action that calls `target->Method`, named "Method": BASE_ACTION(this, onTick).
#define BASE_ACTION(target, Method)                                                                          \
    ::base::action(target, #Method, &std::remove_cvref_t<decltype(*(target))>::Method)
