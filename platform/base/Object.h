#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace base {

// A retained (owning) reference and a reference that does not retain.
template <class T> using Ref = std::shared_ptr<T>;
template <class T> using Weak = std::weak_ptr<T>;

// The root of every object that hands itself out, prints itself with "%@" or is created by name.
class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
    // What "%@" prints.
    virtual std::string description() const;
    // The run-time class name, without namespaces.
    std::string className() const;

    template <class T = Object> Ref<T> self() { return std::dynamic_pointer_cast<T>(shared_from_this()); }
    template <class T = Object> Weak<T> weakSelf() { return self<T>(); }

    // Runs once, right after make() built the object, when its owner exists: the place for set-up
    // that hands the object out (self(), weakSelf(), observers, delegates of its own parts), which
    // a constructor cannot do. Subclasses that override it call their base first.
    virtual void setUp() {}
};

// The one factory for objects: builds the object under its owner, then runs its set-up. A class
// that joins two Object roots (a data source that is also a delegate) has no single set-up to run.
template <class T, class... Args> Ref<T> make(Args &&...args) {
    Ref<T> object = std::make_shared<T>(std::forward<Args>(args)...);
    if constexpr (std::is_convertible_v<T *, Object *>)
        static_cast<Object &>(*object).setUp();
    return object;
}

// The answer of an optional delegate operation that the delegate does not implement.
struct NotImplemented {};
inline constexpr NotImplemented notImplemented{};

// Result of an optional delegate operation: empty when the delegate does not implement it.
// `if (auto r = delegate->op(...))` tests whether it is implemented; `*r` is its answer.
template <class R> class Opt {
public:
    Opt(NotImplemented) {}
    Opt(R value) : value_(std::move(value)) {}
    explicit operator bool() const { return value_.has_value(); }
    bool implemented() const { return value_.has_value(); }
    const R &operator*() const { return *value_; }
    R valueOr(R fallback) const { return value_ ? *value_ : std::move(fallback); }

private:
    std::optional<R> value_;
};

template <> class Opt<void> {
public:
    Opt() : implemented_(true) {}
    Opt(NotImplemented) {}
    explicit operator bool() const { return implemented_; }
    bool implemented() const { return implemented_; }

private:
    bool implemented_ = false;
};

// Creates objects from their class names, as configuration files name screens.
class ClassRegistry {
public:
    using Factory = std::function<Ref<Object>()>;
    static void add(const std::string &name, Factory factory);
    template <class T> static bool add(const std::string &name) {
        add(name, [] { return std::static_pointer_cast<Object>(make<T>()); });
        return true;
    }
    // Empty when no class of that name is registered.
    static Ref<Object> create(const std::string &name);
    static bool has(const std::string &name);
};

} // namespace base

// Registers a default-constructible class under its own name; use once in the class's source file.
#define BASE_REGISTER_CLASS(T) static const bool base_registered_##T = ::base::ClassRegistry::add<T>(#T)
