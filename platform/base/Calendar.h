#pragma once

#include "Date.h"
#include "TimeZone.h"

namespace base {

// Calendar fields of a moment. weekday: 1 = Sunday … 7 = Saturday. Fields left as they are
// name 1970-01-01 00:00:00.
struct DateComponents {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 0, weekOfYear = 0;
    bool operator==(const DateComponents &) const = default;
};

// The Gregorian calendar in one time zone.
class Calendar {
public:
    explicit Calendar(TimeZone zone = TimeZone::device()) : zone_(std::move(zone)) {}
    static Calendar gregorian(TimeZone zone = TimeZone::device()) { return Calendar(std::move(zone)); }

    const TimeZone &timeZone() const { return zone_; }

    // Week numbering: the weekday that starts a week, and how many days of a year the week
    // holding 1 January needs to count as that year's week 1.
    int firstWeekday = 1;
    int minimumDaysInFirstWeek = 1;

    DateComponents components(Date date) const;
    // The moment named by year, month, day, hour, minute and second (weekday and week are
    // ignored). Out-of-range fields roll over: day 0 is the last day of the previous month,
    // month 13 is January of the next year.
    Date date(const DateComponents &fields) const;
    // The same time of day, `days` calendar days later (earlier when negative).
    Date addingDays(Date date, int days) const;
    // The same day and time `months` later; a day past the end of the target month becomes its last day.
    Date addingMonths(Date date, int months) const;

    // The time from `from` to `to` split into whole years, months, days, hours, minutes and
    // seconds (weekday and week are 0). All fields are negative when `to` is earlier.
    DateComponents elapsed(Date from, Date to) const;
    // Whole calendar days / months from `from` to `to`.
    int wholeDays(Date from, Date to) const;
    int wholeMonths(Date from, Date to) const;

    static int daysInMonth(int year, int month);

private:
    int weekOfYear(const std::tm &local) const;

    TimeZone zone_;
};

} // namespace base
