#pragma once

#include <compare>

namespace base {

// A point in time: seconds since 2001-01-01 00:00:00 UTC.
class Date {
public:
    static constexpr double referenceSince1970 = 978307200.0;

    constexpr Date() = default;
    constexpr explicit Date(double sinceReference) : t_(sinceReference) {}
    static Date now();
    static constexpr Date since1970(double seconds) { return Date(seconds - referenceSince1970); }

    constexpr double sinceReference() const { return t_; }
    constexpr double since1970() const { return t_ + referenceSince1970; }
    constexpr Date adding(double seconds) const { return Date(t_ + seconds); }
    constexpr double secondsSince(Date other) const { return t_ - other.t_; }

    constexpr auto operator<=>(const Date&) const = default;

private:
    double t_ = 0;
};

} // namespace base
