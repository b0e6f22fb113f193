#include "Common/TimeFunc.h"

#include "base/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// 2012-03-04 16:30:00 UTC, which is 00:30 on 5 March in Shanghai.
const base::Date shanghaiEarlyMorning = base::Date::since1970(1330878600);
// 2012-03-05 00:00 in Shanghai.
const base::Date shanghaiMidnight = base::Date::since1970(1330876800);

class StoppedClock : public base::Clock {
public:
    explicit StoppedClock(base::Date at) : at_(at) {}
    double now() const override { return at_.sinceReference(); }
    double monotonic() const override { return 0; }

private:
    base::Date at_;
};

// Dates are local to the device: the tests run in a fixed zone and at a fixed moment.
class ShanghaiDates : public ::testing::Test {
protected:
    void SetUp() override {
        const char *tz = std::getenv("TZ");
        savedTz_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "Asia/Shanghai", 1);
        base::Clock::setCurrent(&clock_);
    }
    void TearDown() override {
        base::Clock::setCurrent(nullptr);
        if (savedTz_)
            ::setenv("TZ", savedTz_->c_str(), 1);
        else
            ::unsetenv("TZ");
    }

    StoppedClock clock_{shanghaiEarlyMorning};
    std::optional<std::string> savedTz_;
};

TEST_F(ShanghaiDates, NumericDatesAreLocal) {
    EXPECT_EQ(TimeFunc::getCurTick(), shanghaiEarlyMorning.sinceReference());
    EXPECT_EQ(TimeFunc::getNumDate(shanghaiEarlyMorning), 20120305);
    EXPECT_EQ(TimeFunc::getNumDate(shanghaiMidnight.adding(-1)), 20120304);
    EXPECT_EQ(TimeFunc::getDateFromNumDate(20120305), shanghaiMidnight);
    for (int notADate : {0, -1, 20120230, 20121300, 2012030})
        EXPECT_EQ(TimeFunc::getDateFromNumDate(notADate), std::nullopt) << notADate;
}

TEST_F(ShanghaiDates, DaysMoveByCalendarDays) {
    struct Case {
        int days, date;
    } cases[] = {{0, 20120305}, {-5, 20120229}, {27, 20120401}, {-65, 20111231}, {300, 20121230}};
    for (const auto &c : cases) {
        base::Date moved = TimeFunc::IncDate(shanghaiEarlyMorning, c.days);
        EXPECT_EQ(TimeFunc::getNumDate(moved), c.date) << c.days;
        EXPECT_EQ(moved.sinceReference() - shanghaiEarlyMorning.sinceReference(), c.days * 86400.0) << c.days;
    }
}

TEST_F(ShanghaiDates, TodayInAPattern) {
    EXPECT_EQ(TimeFunc::getTodayStr("yyyyMMdd"), "20120305");
    EXPECT_EQ(TimeFunc::getTodayStr("yyyy-MM-dd"), "2012-03-05");
    EXPECT_TRUE(TimeFunc::isTodayOfStrDate("20120305", "yyyyMMdd"));
    EXPECT_TRUE(TimeFunc::isTodayOfStrDate("2012-03-05", "yyyy-MM-dd"));
    EXPECT_FALSE(TimeFunc::isTodayOfStrDate("20120304", "yyyyMMdd"));
    EXPECT_FALSE(TimeFunc::isTodayOfStrDate("2012-03-05", "yyyyMMdd"));
    EXPECT_FALSE(TimeFunc::isTodayOfStrDate(std::nullopt, "yyyyMMdd"));
}

} // namespace
