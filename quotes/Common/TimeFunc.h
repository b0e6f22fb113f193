#pragma once

#include "base/Date.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// Calendar arithmetic on yyyymmdd dates and platform dates, on the device's time zone.
// Class operations only; never instantiated.
//
// Weekdays are Monday-based (Monday 1 to Sunday 7). Weeks are ISO-8601 weeks, and a week's
// period id carries its week-based year, so that ids rise across a year end and the days of
// one Monday-to-Sunday week always share one id.
class TimeFunc {
public:
    TimeFunc() = delete;

    // Seconds since the platform's reference date; what data is stamped and aged with.
    static double getCurTick();
    static int getNumDate(base::Date date);
    // Local midnight at the start of the date; nothing when it is not a date.
    static std::optional<base::Date> getDateFromNumDate(int numDate);
    // The civil day of a yyyymmdd date with a four-digit year, free of zones and daylight saving;
    // nothing for anything else.
    static std::optional<std::chrono::sys_days> civilDay(int numDate);
    // The Monday-based weekday of a platform weekday (Sunday 1 to Saturday 7).
    static int getCNWeekDay(int weekday);
    static base::Date IncDate(base::Date date, int withDay);

    // The Monday of the date's week; 0 when it is not a date.
    static int getBeginningOfWeekNumDate(int numDate);
    static int getBeginningOfMonthNumDate(int numDate);
    // The weekday and week number of the date; false, without writing, when it is not a date.
    static bool getWeekday(int numDate, int &pweekday, int &pweek);
    static bool getMonthday(int numDate, int &pday, int &pmonth);
    // Day in period and period number for week (8) and month (9) candles; false for other
    // periods.
    static bool getKLinePeriodDay(int ktype, int numDate, int &pperiodDay, int &pperiod);
    // year × 100 + week (8) or month (9); 0 for other periods or when it is not a date.
    static int getWhichPeriod(int ktype, int numDate);
    // The first day of the date's week (8) or month (9); 0 for other periods.
    static int getBeginningOfPeriod(int ktype, int numDate);

    // Whether today's date written with the pattern is the text; false for no text.
    static bool isTodayOfStrDate(std::optional<std::string_view> strDate, std::string_view formatStr);
    static std::string getTodayStr(std::string_view formatStr);
};
