#include "Date.h"

#include "Clock.h"

namespace base {

Date Date::now() {
    return Date(Clock::current().now());
}

} // namespace base
