#include "base/Calendar.h"
#include "base/DateFormatter.h"
#include "base/Locale.h"
#include "base/TimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::Calendar;
using base::Date;
using base::DateComponents;
using base::DateFormatter;
using base::Locale;
using base::TimeZone;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : name_(name) {
        if (const char *old = std::getenv(name))
            saved_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { saved_ ? setenv(name_, saved_->c_str(), 1) : unsetenv(name_); }

private:
    const char *name_;
    std::optional<std::string> saved_;
};

TimeZone zone(const char *name) {
    return *TimeZone::named(name);
}

// 2012-03-04 17:30:45 UTC, a Sunday.
const Date sample = Date::since1970(1330882245);

TEST(TimeZone, OffsetsFollowTheZoneDatabase) {
    EXPECT_EQ(zone("Asia/Shanghai").secondsFromGmt(sample), 8 * 3600);
    EXPECT_EQ(zone("America/New_York").secondsFromGmt(sample), -5 * 3600);
    EXPECT_EQ(zone("America/New_York").secondsFromGmt(Date::since1970(1341446400)), -4 * 3600);
    EXPECT_EQ(zone("Asia/Kolkata").abbreviation(sample), "GMT+5:30");
    EXPECT_EQ(zone("Asia/Shanghai").abbreviation(sample), "GMT+8");
    EXPECT_EQ(TimeZone::gmt().abbreviation(sample), "GMT");
    EXPECT_EQ(TimeZone::named("UTC"), TimeZone::gmt());
    for (const char *bad : {"Nowhere/City", "../../etc/passwd", "/etc/localtime", ""})
        EXPECT_FALSE(TimeZone::named(bad)) << bad;
}

TEST(TimeZone, DeviceZoneComesFromTZ) {
    ScopedEnv tz("TZ", "Asia/Shanghai");
    EXPECT_EQ(TimeZone::device().name(), "Asia/Shanghai");
    EXPECT_EQ(TimeZone::device().secondsFromGmt(sample), 8 * 3600);
    // Converting in another zone leaves the device zone as it was.
    EXPECT_EQ(zone("America/New_York").secondsFromGmt(sample), -5 * 3600);
    EXPECT_STREQ(std::getenv("TZ"), "Asia/Shanghai");
}

TEST(TimeZone, ConversionsInDifferentZonesMayRunOnSeveralThreads) {
    struct Case {
        const char *name;
        int offset;
    } cases[] = {{"Asia/Shanghai", 8 * 3600}, {"America/New_York", -5 * 3600}, {"Europe/London", 0}};
    std::vector<int> wrong(std::size(cases));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < std::size(cases); ++i) {
        threads.emplace_back([&, i] {
            TimeZone z = zone(cases[i].name);
            for (int n = 0; n < 300; ++n)
                wrong[i] += z.secondsFromGmt(sample) != cases[i].offset;
        });
    }
    // The device zone, read meanwhile, stays what it is.
    int deviceOffset = TimeZone::device().secondsFromGmt(sample), deviceWrong = 0;
    for (int n = 0; n < 300; ++n)
        deviceWrong += TimeZone::device().secondsFromGmt(sample) != deviceOffset;
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(wrong, std::vector<int>(std::size(cases), 0));
    EXPECT_EQ(deviceWrong, 0);
}

TEST(DateFormatter, DayTextFollowsTheDeviceZoneAcrossMidnight) {
    struct Case {
        const char *tz;
        const char *day;
    } cases[] = {{"Asia/Shanghai", "20120305"}, {"UTC", "20120304"}, {"America/New_York", "20120304"}};
    for (const auto &c : cases) {
        ScopedEnv tz("TZ", c.tz);
        DateFormatter formatter("yyyyMMdd", Locale::posix());
        EXPECT_EQ(formatter.string(sample), c.day) << c.tz;
        EXPECT_EQ(formatter.date(c.day),
                  Calendar().date({.year = 2012, .month = 3, .day = std::atoi(c.day + 6)}))
            << c.tz;
    }
}

TEST(Calendar, ComponentsAndWeekday) {
    DateComponents c = Calendar(zone("Asia/Shanghai")).components(sample);
    EXPECT_EQ(c, (DateComponents{2012, 3, 5, 1, 30, 45, 2, 10}));
    c = Calendar(TimeZone::gmt()).components(sample);
    EXPECT_EQ(c, (DateComponents{2012, 3, 4, 17, 30, 45, 1, 10}));
}

TEST(Calendar, WeekOfYearFollowsTheWeekRules) {
    struct Case {
        int year, month, day, firstWeekday, minimumDays, week;
    } cases[] = {
        {2012, 1, 1, 1, 1, 1},   {2012, 1, 7, 1, 1, 1},   {2012, 1, 8, 1, 1, 2},  {2012, 12, 30, 1, 1, 1},
        {2011, 1, 1, 1, 1, 1},   {2010, 12, 31, 1, 1, 1}, {2021, 1, 1, 2, 4, 53}, {2020, 12, 31, 2, 4, 53},
        {2019, 12, 30, 2, 4, 1}, {2012, 1, 1, 2, 4, 52},  {2012, 1, 2, 2, 4, 1},  {2015, 12, 31, 2, 4, 53},
    };
    for (const auto &c : cases) {
        Calendar calendar(TimeZone::gmt());
        calendar.firstWeekday = c.firstWeekday;
        calendar.minimumDaysInFirstWeek = c.minimumDays;
        Date d = calendar.date({.year = c.year, .month = c.month, .day = c.day, .hour = 12});
        EXPECT_EQ(calendar.components(d).weekOfYear, c.week)
            << c.year << "-" << c.month << "-" << c.day << " first " << c.firstWeekday;
    }
}

TEST(Calendar, FieldsRollOver) {
    Calendar calendar(zone("Asia/Shanghai"));
    struct Case {
        DateComponents fields;
        int year, month, day, hour;
    } cases[] = {
        {{.year = 2012, .month = 3, .day = 0}, 2012, 2, 29, 0},
        {{.year = 2011, .month = 3, .day = 0}, 2011, 2, 28, 0},
        {{.year = 2012, .month = 13, .day = 1}, 2013, 1, 1, 0},
        {{.year = 2012, .month = 0, .day = 15}, 2011, 12, 15, 0},
        {{.year = 2012, .month = 1, .day = 32}, 2012, 2, 1, 0},
        {{.year = 2012, .month = 12, .day = 31, .hour = 24}, 2013, 1, 1, 0},
        {{.year = 2012, .month = 3, .day = 1, .hour = -1}, 2012, 2, 29, 23},
    };
    for (const auto &c : cases) {
        DateComponents back = calendar.components(calendar.date(c.fields));
        EXPECT_EQ((std::array{back.year, back.month, back.day, back.hour}),
                  (std::array{c.year, c.month, c.day, c.hour}))
            << c.fields.year << "-" << c.fields.month << "-" << c.fields.day;
    }
}

TEST(Calendar, AddingDaysKeepsTheTimeOfDayAcrossClockChanges) {
    Calendar calendar(zone("America/New_York"));
    Date before = calendar.date({.year = 2012, .month = 3, .day = 10, .hour = 12});
    Date after = calendar.addingDays(before, 1);
    EXPECT_EQ(after.secondsSince(before), 23 * 3600);
    EXPECT_EQ(calendar.components(after).hour, 12);
    EXPECT_EQ(calendar.addingDays(after, -1), before);
    EXPECT_EQ(calendar.components(calendar.addingDays(before, 30)).month, 4);
}

TEST(Calendar, ElapsedCountsWholeUnits) {
    Calendar calendar(zone("Asia/Shanghai"));
    auto at = [&](int y, int mo, int d, int h = 0, int mi = 0) {
        return calendar.date({.year = y, .month = mo, .day = d, .hour = h, .minute = mi});
    };
    struct Case {
        Date from, to;
        int years, months, days;
    } cases[] = {
        {at(2012, 1, 31), at(2012, 2, 29), 0, 1, 0},       {at(2012, 1, 29), at(2012, 2, 28), 0, 0, 30},
        {at(2012, 1, 31), at(2012, 3, 1), 0, 1, 1},        {at(2011, 2, 28), at(2012, 2, 29), 1, 0, 1},
        {at(2012, 3, 4, 20), at(2012, 3, 5, 19), 0, 0, 0}, {at(2012, 3, 4, 10), at(2012, 3, 6, 12), 0, 0, 2},
        {at(2012, 3, 5), at(2012, 3, 2), 0, 0, -3},        {at(2010, 6, 15, 8), at(2012, 8, 20, 9), 2, 2, 5},
    };
    for (const auto &c : cases) {
        DateComponents e = calendar.elapsed(c.from, c.to);
        EXPECT_EQ((std::array{e.year, e.month, e.day}), (std::array{c.years, c.months, c.days}))
            << calendar.components(c.from).day << " to " << calendar.components(c.to).day;
    }
    EXPECT_EQ(calendar.elapsed(at(2012, 3, 4, 10), at(2012, 3, 6, 12, 30)).hour, 2);
    EXPECT_EQ(calendar.wholeDays(at(2012, 1, 1), at(2012, 3, 1)), 60);
    EXPECT_EQ(calendar.wholeMonths(at(2012, 1, 31), at(2012, 2, 29)), 1);
    EXPECT_EQ(calendar.wholeMonths(at(2012, 3, 31), at(2012, 1, 31)), -2);
}

TEST(Calendar, WholeDaysAcrossClockChanges) {
    Calendar calendar(zone("America/New_York"));
    auto at = [&](int d, int h, int mi = 0) {
        return calendar.date({.year = 2012, .month = 11, .day = d, .hour = h, .minute = mi});
    };
    // 4 November 2012 is 25 hours long there.
    EXPECT_EQ(calendar.wholeDays(at(3, 12), at(4, 11, 30)), 0);
    EXPECT_EQ(calendar.wholeDays(at(3, 12), at(4, 12)), 1);
    EXPECT_EQ(calendar.wholeDays(at(4, 12), at(1, 12)), -3);
}

TEST(Calendar, DatesFarOutOfRangeStayDefined) {
    Calendar calendar(zone("Asia/Shanghai"));
    for (double t : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
        calendar.components(Date(t));
        calendar.addingDays(Date(t), 1);
        calendar.wholeDays(Date(0), Date(t));
        DateFormatter("yyyy-MM-dd z", Locale::posix(), zone("Asia/Shanghai")).string(Date(t));
    }
    EXPECT_EQ(calendar.components(Date(std::numeric_limits<double>::quiet_NaN())).year, 1970);
}

TEST(DateFormatter, PatternsInUse) {
    struct Case {
        const char *pattern;
        const char *locale;
        const char *text;
    } cases[] = {
        {"yyyyMMdd", "en_US_POSIX", "20120305"},
        {"yyyy-MM-dd", "en_US_POSIX", "2012-03-05"},
        {"yyyy-MM-dd HH:mm", "en_US_POSIX", "2012-03-05 01:30"},
        {"yyyy-MM-dd HH:mm:ss", "en_US_POSIX", "2012-03-05 01:30:45"},
        {"HH:mm", "en_US_POSIX", "01:30"},
        {"MM-dd", "en_US_POSIX", "03-05"},
        {"yyyy", "en_US_POSIX", "2012"},
        {"MMMM", "en_US_POSIX", "March"},
        {"MMMM", "zh_CN", "三月"},
        {"MMM", "zh_CN", "3月"},
        {"MMMM yyyy", "en_US", "March 2012"},
        {"h a", "en_US_POSIX", "1 AM"},
        {"h a", "zh_CN", "1 上午"},
        {"今天 HH:mm", "zh_CN", "今天 01:30"},
        {"EEE EEEE eee e", "en_US_POSIX", "Mon Monday Mon 2"},
        {"EEE", "zh_CN", "周一"},
        {"'at' HH 'o''clock' yy", "en_US_POSIX", "at 01 o'clock 12"},
        {"d/M z Z", "en_US_POSIX", "5/3 GMT+8 +0800"},
    };
    for (const auto &c : cases) {
        DateFormatter formatter(c.pattern, Locale(c.locale), zone("Asia/Shanghai"));
        EXPECT_EQ(formatter.string(sample), c.text) << c.pattern;
    }
}

TEST(DateFormatter, ParsesWhatItWrites) {
    for (const char *pattern : {"yyyy-MM-dd HH:mm:ss", "yyyyMMddHHmmss", "EEE, dd MMM yyyy hh:mm:ss a Z",
                                "MMMM d, yyyy HH:mm:ss z", "yy-M-d H:m:s", "昨天 yyyy年M月d日 HH:mm:ss"}) {
        for (const char *locale : {"en_US_POSIX", "zh_CN"}) {
            DateFormatter formatter(pattern, Locale(locale), zone("America/New_York"));
            std::string text = formatter.string(sample);
            EXPECT_EQ(formatter.date(text), sample) << pattern << " " << text;
        }
    }
}

TEST(DateFormatter, Rfc1123RoundTrip) {
    DateFormatter writer("EEE, dd MMM yyyy HH:mm:ss 'GMT'", Locale::posix(), TimeZone::gmt());
    Date date = Date::since1970(784111777);
    EXPECT_EQ(writer.string(date), "Sun, 06 Nov 1994 08:49:37 GMT");

    DateFormatter reader("EEE, dd MMM yyyy HH:mm:ss z", Locale::posix(), zone("Asia/Shanghai"));
    EXPECT_EQ(reader.date(writer.string(date)), date);
    EXPECT_EQ(reader.date("Sun, 06 Nov 1994 16:49:37 +0800"), date);
    EXPECT_EQ(reader.date("sun, 06 nov 1994 03:49:37 EST"), date);
    EXPECT_EQ(DateFormatter("dd MMM yyyy HH:mm z", Locale::posix()).date("06 Nov 1994 08:49 GMT"),
              date.adding(-37));
}

TEST(DateFormatter, TextThatDoesNotMatchIsNothing) {
    struct Case {
        const char *pattern;
        const char *text;
    } cases[] = {
        {"yyyyMMdd", "20120230"},
        {"yyyyMMdd", "2012035"},
        {"yyyyMMdd", "201203051"},
        {"yyyy-MM-dd", "2012-13-01"},
        {"yyyy-MM-dd", "2012/03/05"},
        {"yyyy-MM-dd", ""},
        {"yyyy-MM-dd", "abc"},
        {"HH:mm", "24:00"},
        {"HH:mm", "12:60"},
        {"HH:mm", "12:30 "},
        {"MMMM", "Marchy"},
        {"h a", "13 PM"},
        {"EEE, dd MMM yyyy HH:mm:ss z", "Sun, 06 Nov 1994 08:49:37"},
        {"EEE, dd MMM yyyy HH:mm:ss z", "Sun, 06 Nov 1994 08:49:37 XYZ"},
        {"EEE, dd MMM yyyy HH:mm:ss z", "Sun, 06 Foo 1994 08:49:37 GMT"},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(DateFormatter(c.pattern, Locale::posix(), TimeZone::gmt()).date(c.text))
            << c.pattern << " / " << c.text;
}

TEST(DateFormatter, MissingFieldsComeFromTheStartOf1970) {
    DateFormatter formatter("HH:mm", Locale::posix(), TimeZone::gmt());
    EXPECT_EQ(formatter.date("09:15"), Date::since1970(9 * 3600 + 15 * 60));
    EXPECT_EQ(DateFormatter("yyyy-M-d", Locale::posix(), TimeZone::gmt()).date("2012-3-5"),
              Date::since1970(1330905600));
}

TEST(Locale, CurrentComesFromTheEnvironment) {
    ScopedEnv all("LC_ALL", nullptr), time("LC_TIME", nullptr);
    struct Case {
        const char *lang;
        const char *identifier;
    } cases[] = {{"zh_CN.UTF-8", "zh_CN"},   {"en_US.UTF-8", "en_US"}, {"de_DE@euro", "de_DE"},
                 {"C.UTF-8", "en_US_POSIX"}, {"POSIX", "en_US_POSIX"}, {nullptr, "en_US_POSIX"}};
    for (const auto &c : cases) {
        ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(Locale::current().identifier(), c.identifier) << (c.lang ? c.lang : "(unset)");
    }
    EXPECT_EQ(Locale("zh_CN").language(), "zh");
}

} // namespace
