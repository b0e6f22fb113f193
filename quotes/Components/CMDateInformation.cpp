#include "Components/CMDateInformation.h"

#include "base/Calendar.h"
#include "base/DateFormatter.h"

#include <cmath>
#include <cstdlib>

namespace CMDate {

namespace {

// The date's GMT fields moved by `months`, at midnight.
base::Date shiftedMidnight(base::Date date, int months) {
    CMDateInformation info = dateInformation(date, base::TimeZone::gmt());
    info.month += months;
    if (info.month > 12)
        info.month -= 12, ++info.year;
    else if (info.month < 1)
        info.month += 12, --info.year;
    info.hour = info.minute = info.second = 0;
    return dateFromDateInformation(info, base::TimeZone::gmt());
}

} // namespace

CMDateInformation dateInformation(base::Date date, const base::TimeZone &zone) {
    const base::DateComponents c = base::Calendar::gregorian(zone).components(date);
    return {c.day, c.month, c.year, c.weekday, c.minute, c.hour, c.second};
}

base::Date dateFromDateInformation(const CMDateInformation &info, const base::TimeZone &zone) {
    base::DateComponents fields;
    fields.year = info.year;
    fields.month = info.month;
    fields.day = info.day;
    fields.hour = info.hour;
    fields.minute = info.minute;
    fields.second = info.second;
    return base::Calendar::gregorian(zone).date(fields);
}

int daysBetweenDate(base::Date date, base::Date other) {
    return std::abs(int(std::trunc(date.secondsSince(other) / 60 / 60 / 24)));
}

std::string month(base::Date date, const base::TimeZone &zone) {
    return base::DateFormatter("MMMM", base::Locale::current(), zone).string(date);
}

std::string year(base::Date date, const base::TimeZone &zone) {
    return base::DateFormatter("yyyy", base::Locale::current(), zone).string(date);
}

base::Date firstOfMonth(base::Date date) {
    CMDateInformation info = dateInformation(date, base::TimeZone::gmt());
    info.day = 1;
    info.hour = info.minute = info.second = 0;
    return dateFromDateInformation(info, base::TimeZone::gmt());
}

base::Date nextMonth(base::Date date) {
    return shiftedMidnight(date, 1);
}

base::Date previousMonth(base::Date date) {
    return shiftedMidnight(date, -1);
}

} // namespace CMDate
