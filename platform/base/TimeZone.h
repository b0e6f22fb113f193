#pragma once

#include "Date.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// A time zone: either a fixed offset from GMT or a rule of the system's time-zone database.
class TimeZone {
public:
    // The device's zone: $TZ when set, else the system's /etc/localtime (UTC without either).
    static TimeZone device();
    static TimeZone gmt();
    // A fixed offset east of GMT.
    static TimeZone fixed(int secondsFromGmt);
    // A zone of the database ("Asia/Shanghai"), or "GMT"/"UTC"; nothing for unknown names.
    static std::optional<TimeZone> named(std::string_view name);

    const std::string &name() const { return name_; }
    int secondsFromGmt(Date date) const;
    // "GMT" for GMT itself, else "GMT+8", "GMT-3:30".
    std::string abbreviation(Date date) const;

    // Whole seconds since 1970 of a date, rounded down; dates beyond a million years (or not
    // a number) are clamped so that every conversion stays defined.
    static int64_t unixSeconds(Date date);
    // Broken-down local time of a moment given in seconds since 1970.
    std::tm local(int64_t unixSeconds) const;
    // The moment named by a local time; out-of-range fields roll over (day 0 is the last day of
    // the previous month, month 12 counted from 0 is January of the next year).
    int64_t fromLocal(std::tm local) const;

    bool operator==(const TimeZone &) const = default;

private:
    TimeZone(std::string name, std::string rule, std::optional<int> fixed)
        : name_(std::move(name)), rule_(std::move(rule)), fixed_(fixed) {}

    std::string name_;
    // The TZ value that selects this zone; empty for the system default.
    std::string rule_;
    std::optional<int> fixed_;
};

} // namespace base
