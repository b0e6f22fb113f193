#include "Calendar.h"

#include <cmath>
#include <ctime>

namespace base {

namespace {

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInYear(int year) {
    return isLeap(year) ? 366 : 365;
}

double fraction(Date date) {
    double seconds = date.since1970();
    return std::isfinite(seconds) ? seconds - std::floor(seconds) : 0;
}

// Days since 1970-01-01 of a local date.
int64_t dayNumber(std::tm local) {
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    return int64_t(timegm(&local)) / 86400;
}

int secondOfDay(const std::tm &local) {
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

int floorMod(int a, int n) {
    return ((a % n) + n) % n;
}

} // namespace

int Calendar::daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    month = floorMod(month - 1, 12);
    return month == 1 && isLeap(year) ? 29 : days[month];
}

DateComponents Calendar::components(Date date) const {
    std::tm tm = zone_.local(TimeZone::unixSeconds(date));
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,     tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     tm.tm_wday + 1, weekOfYear(tm)};
}

Date Calendar::date(const DateComponents &fields) const {
    std::tm tm{};
    tm.tm_year = fields.year - 1900;
    tm.tm_mon = fields.month - 1;
    tm.tm_mday = fields.day;
    tm.tm_hour = fields.hour;
    tm.tm_min = fields.minute;
    tm.tm_sec = fields.second;
    return Date::since1970(double(zone_.fromLocal(tm)));
}

Date Calendar::addingDays(Date date, int days) const {
    std::tm tm = zone_.local(TimeZone::unixSeconds(date));
    tm.tm_mday += days;
    return Date::since1970(double(zone_.fromLocal(tm)) + fraction(date));
}

Date Calendar::addingMonths(Date date, int months) const {
    std::tm tm = zone_.local(TimeZone::unixSeconds(date));
    int total = tm.tm_mon + months;
    int year = tm.tm_year + 1900 + (total >= 0 ? total / 12 : (total - 11) / 12);
    int month = floorMod(total, 12) + 1;
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    if (tm.tm_mday > daysInMonth(year, month))
        tm.tm_mday = daysInMonth(year, month);
    return Date::since1970(double(zone_.fromLocal(tm)) + fraction(date));
}

DateComponents Calendar::elapsed(Date from, Date to) const {
    if (to < from) {
        DateComponents back = elapsed(to, from);
        return {-back.year, -back.month, -back.day, -back.hour, -back.minute, -back.second, 0, 0};
    }
    DateComponents out{0, 0, 0, 0, 0, 0, 0, 0};
    int months = wholeMonths(from, to);
    out.year = months / 12;
    out.month = months % 12;
    Date cursor = addingMonths(from, months);
    out.day = wholeDays(cursor, to);
    cursor = addingDays(cursor, out.day);
    auto seconds = int64_t(std::floor(to.secondsSince(cursor)));
    out.hour = int(seconds / 3600);
    out.minute = int(seconds % 3600 / 60);
    out.second = int(seconds % 60);
    return out;
}

int Calendar::wholeMonths(Date from, Date to) const {
    if (to < from)
        return -wholeMonths(to, from);
    DateComponents a = components(from), b = components(to);
    int months = (b.year - a.year) * 12 + (b.month - a.month);
    while (months > 0 && addingMonths(from, months) > to)
        --months;
    return months;
}

int Calendar::wholeDays(Date from, Date to) const {
    if (to < from)
        return -wholeDays(to, from);
    // Calendar days between the two local dates, less one when the time of day of `to` has not
    // yet come round again.
    std::tm a = zone_.local(TimeZone::unixSeconds(from)), b = zone_.local(TimeZone::unixSeconds(to));
    int64_t days = dayNumber(b) - dayNumber(a);
    if (days > 0 && secondOfDay(b) + fraction(to) < secondOfDay(a) + fraction(from))
        --days;
    return int(days);
}

int Calendar::weekOfYear(const std::tm &local) const {
    int year = local.tm_year + 1900;
    int dayOfYear = local.tm_yday + 1;
    int weekday = local.tm_wday + 1;
    int first = firstWeekday >= 1 && firstWeekday <= 7 ? firstWeekday : 1;
    // Position of the day within its week, counted from the first weekday.
    int relative = floorMod(weekday - first, 7);
    auto weekNumber = [&](int day) {
        int startOfYear = floorMod(relative - (day - 1), 7);
        int week = (day - 1 + startOfYear) / 7;
        return 7 - startOfYear >= minimumDaysInFirstWeek ? week + 1 : week;
    };
    int week = weekNumber(dayOfYear);
    if (week == 0)
        return weekNumber(dayOfYear + daysInYear(year - 1));
    int length = daysInYear(year);
    int daysLeftInWeek = 6 - relative;
    if (dayOfYear + daysLeftInWeek > length) {
        // The week runs into next year; it is next year's week 1 when enough of it lies there.
        int daysInNextYear = dayOfYear + daysLeftInWeek - length;
        if (daysInNextYear >= minimumDaysInFirstWeek)
            return 1;
    }
    return week;
}

} // namespace base
