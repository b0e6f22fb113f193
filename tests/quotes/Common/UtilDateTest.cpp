#include "Common/Util.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace {

// A minute-candle time as the chart replies pack it.
int packedBarTime(int year, int month, int day, int hour, int minute) {
    return int(uint32_t(year) << 20 | uint32_t(month) << 16 | uint32_t(day) << 11 | uint32_t(hour) << 6 |
               uint32_t(minute));
}

// A validity half: year − 2000, month and day.
uint32_t powerHalf(int year, int month, int day) {
    return uint32_t(year | month << 7 | day << 11);
}

TEST(UtilDate, DateAndTimeTexts) {
    struct Row {
        std::string got;
        const char *want;
    } rows[] = {
        {Util::FormatDate(0), "--"},
        {Util::FormatDate(20120305), "20120305"},
        {Util::formatDate(0, "-"), "-"},
        {Util::formatDate(20120305, "-"), "2012-03-05"},
        {Util::formatDate(20120305, "/"), "2012/03/05"},
        {Util::formatDate(20121231, ""), "20121231"},
        {Util::FormatTime(930, false), "9:30"},
        {Util::FormatTime(5, false), "0:05"},
        {Util::FormatTime(1500, true), "15:00"},
        {Util::FormatTime(93005, false), " 9:30:05"},
        {Util::FormatTime(143005, false), "14:30:05"},
        {Util::FormatTime(100000, false), "10:00:00"},
        {Util::FormatTime(93005, true), ":05"},
        {Util::FormatKLineTime(20120305, 7, false), "12-3-5"},
        {Util::FormatKLineTime(20091231, 7, true), "09-12-31"},
        {Util::FormatKLineTime(20120305, 9, false), "12-3-5"},
        {Util::FormatKLineTime(packedBarTime(2012, 3, 5, 9, 35), 2, true), "12-3-5 9:35"},
        {Util::FormatKLineTime(packedBarTime(2012, 3, 5, 9, 35), 2, false), "3-5 9:35"},
        {Util::FormatKLineTime(packedBarTime(2009, 12, 31, 14, 5), 1, true), "09-12-31 14:05"},
        {Util::getKTypeName(1), "1分钟K线"},
        {Util::getKTypeName(6), "240分钟K线"},
        {Util::getKTypeName(8), "周K线"},
        {Util::getKTypeName(12), "年K线"},
        {Util::getKTypeName(13), ""},
        {Util::getKTypeName(0), ""},
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.got, row.want);
}

TEST(UtilDate, SessionMinutes) {
    struct Case {
        int start, end, count;
    } cases[] = {
        {930, 1130, 121}, {1300, 1500, 121}, {930, 930, 1}, {2100, 230, 331}, {INT_MAX, INT_MIN, INT_MIN}};
    for (const auto &c : cases)
        EXPECT_EQ(Util::getMinCount(c.start, c.end), c.count) << c.start << "-" << c.end;
}

TEST(UtilDate, RightsWords) {
    struct Case {
        uint32_t word;
        int begin, end;
    } cases[] = {
        {powerHalf(12, 3, 5), 20120305, 0},
        {powerHalf(12, 0, 5), 0, 0},
        {powerHalf(12, 3, 5) | powerHalf(13, 12, 31) << 16, 20120305, 20131231},
        {powerHalf(0, 1, 1) | powerHalf(99, 1, 1) << 16, 0, 20990101},
    };
    for (const auto &c : cases) {
        int begin = -1, end = -1;
        Util::formatPowerDate(c.word, begin, end);
        EXPECT_EQ(begin, c.begin) << std::hex << c.word;
        EXPECT_EQ(end, c.end) << std::hex << c.word;
    }

    int by, bm, bd, ey, em, ed;
    Util::parsePowerDate(powerHalf(12, 3, 5) | powerHalf(13, 12, 31) << 16, by, bm, bd, ey, em, ed);
    EXPECT_EQ((std::array{by, bm, bd, ey, em, ed}), (std::array{2012, 3, 5, 2013, 12, 31}));

    EXPECT_TRUE(Util::isValidPower(1, 0));
    EXPECT_FALSE(Util::isValidPower(1, 32));
    EXPECT_TRUE(Util::isValidPower(uint64_t(1) << 32, 32));
    EXPECT_FALSE(Util::isValidPower(uint64_t(1) << 32, 0));
    EXPECT_TRUE(Util::isValidPower(uint64_t(1) << 63, 63));
    EXPECT_FALSE(Util::isValidPower(~uint64_t(0), 64));
    EXPECT_FALSE(Util::isValidPower(~uint64_t(0), -1));
}

} // namespace
