#include "Common/TimeFunc.h"

#include "base/Calendar.h"
#include "base/Clock.h"
#include "base/DateFormatter.h"

#include <chrono>

namespace {

using namespace std::chrono;

int numDateOf(sys_days d) {
    year_month_day ymd{d};
    return int(ymd.year()) * 10000 + int(unsigned(ymd.month())) * 100 + int(unsigned(ymd.day()));
}

int isoWeekday(sys_days d) {
    return int(weekday{d}.iso_encoding());
}

struct IsoWeek {
    int year, week;
};

// The week's Thursday decides which year the week belongs to.
IsoWeek isoWeek(sys_days d) {
    sys_days thursday = d + days{4 - isoWeekday(d)};
    year y = year_month_day{thursday}.year();
    return {int(y), int((thursday - sys_days{y / January / 1}).count() / 7 + 1)};
}

} // namespace

double TimeFunc::getCurTick() {
    return base::Clock::current().now();
}

int TimeFunc::getNumDate(base::Date date) {
    base::DateComponents c = base::Calendar::gregorian().components(date);
    return c.year * 10000 + c.month * 100 + c.day;
}

std::optional<base::Date> TimeFunc::getDateFromNumDate(int numDate) {
    if (!TimeFunc::civilDay(numDate))
        return std::nullopt;
    base::DateComponents fields;
    fields.year = numDate / 10000;
    fields.month = numDate / 100 % 100;
    fields.day = numDate % 100;
    return base::Calendar::gregorian().date(fields);
}

base::Date TimeFunc::IncDate(base::Date date, int withDay) {
    return base::Calendar::gregorian().addingDays(date, withDay);
}

bool TimeFunc::isTodayOfStrDate(std::optional<std::string_view> strDate, std::string_view formatStr) {
    return strDate && *strDate == getTodayStr(formatStr);
}

std::string TimeFunc::getTodayStr(std::string_view formatStr) {
    return base::DateFormatter(formatStr).string(base::Date::now());
}

int TimeFunc::getCNWeekDay(int weekday) {
    return weekday == 1 ? 7 : weekday - 1;
}

int TimeFunc::getBeginningOfWeekNumDate(int numDate) {
    auto d = TimeFunc::civilDay(numDate);
    return d ? numDateOf(*d - days{isoWeekday(*d) - 1}) : 0;
}

int TimeFunc::getBeginningOfMonthNumDate(int numDate) {
    return numDate - numDate % 100 + 1;
}

bool TimeFunc::getWeekday(int numDate, int &pweekday, int &pweek) {
    auto d = TimeFunc::civilDay(numDate);
    if (!d)
        return false;
    pweekday = isoWeekday(*d);
    pweek = isoWeek(*d).week;
    return true;
}

bool TimeFunc::getMonthday(int numDate, int &pday, int &pmonth) {
    pday = numDate % 100;
    pmonth = numDate / 100 % 100;
    return true;
}

bool TimeFunc::getKLinePeriodDay(int ktype, int numDate, int &pperiodDay, int &pperiod) {
    if (ktype == 8)
        return getWeekday(numDate, pperiodDay, pperiod);
    if (ktype == 9)
        return getMonthday(numDate, pperiodDay, pperiod);
    return false;
}

int TimeFunc::getWhichPeriod(int ktype, int numDate) {
    auto d = TimeFunc::civilDay(numDate);
    if (!d)
        return 0;
    if (ktype == 8) {
        IsoWeek w = isoWeek(*d);
        return w.year * 100 + w.week;
    }
    if (ktype == 9)
        return numDate / 100;
    return 0;
}

int TimeFunc::getBeginningOfPeriod(int ktype, int numDate) {
    if (ktype == 8)
        return getBeginningOfWeekNumDate(numDate);
    if (ktype == 9)
        return getBeginningOfMonthNumDate(numDate);
    return 0;
}

std::optional<sys_days> TimeFunc::civilDay(int numDate) {
    if (numDate < 10000101 || numDate > 99991231)
        return std::nullopt;
    year_month_day ymd{year{numDate / 10000}, month{unsigned(numDate / 100 % 100)},
                       day{unsigned(numDate % 100)}};
    if (!ymd.ok())
        return std::nullopt;
    return sys_days{ymd};
}
