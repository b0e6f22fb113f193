#pragma once

#include "base/Date.h"
#include "base/TimeZone.h"

#include <string>

// The calendar fields of one instant in one time zone. Minute comes before hour.
struct CMDateInformation {
    int day = 1;     // 1-31
    int month = 1;   // 1-12
    int year = 1970; // Gregorian
    int weekday = 0; // 1 = Sunday ... 7 = Saturday
    int minute = 0, hour = 0, second = 0;
    bool operator==(const CMDateInformation &) const = default;
};

// The Gregorian arithmetic of the month calendar. Month dates are midnight GMT on the 1st; the
// month and year texts and today's date use the device's zone and locale. Stateless.
namespace CMDate {

CMDateInformation dateInformation(base::Date date, const base::TimeZone &zone = base::TimeZone::device());
// The date the fields name in the zone; the weekday is ignored and out-of-range fields roll over
// (day 0 is the last day of the previous month, month 13 January of the next year).
base::Date dateFromDateInformation(const CMDateInformation &info,
                                   const base::TimeZone &zone = base::TimeZone::device());
// Whole 24-hour days between the two dates, truncated, never negative.
int daysBetweenDate(base::Date date, base::Date other);
// The month name ("MMMM") and the year ("yyyy") in the device's locale, in the zone.
std::string month(base::Date date, const base::TimeZone &zone = base::TimeZone::device());
std::string year(base::Date date, const base::TimeZone &zone = base::TimeZone::device());
// Midnight GMT on the 1st of the date's GMT month.
base::Date firstOfMonth(base::Date date);
// The same GMT day number one month later or earlier, at midnight GMT; meant for 1sts, since a
// day beyond the target month's end rolls into the month after.
base::Date nextMonth(base::Date date);
base::Date previousMonth(base::Date date);

} // namespace CMDate
