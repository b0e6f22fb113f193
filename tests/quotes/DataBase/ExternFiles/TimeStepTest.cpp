#include "peers/ChartFrameWriter.h"

#include <gtest/gtest.h>

namespace {

using chartframes::BitWriter;

int32_t packed(int day, int hour, int minute) {
    return day << 11 | hour << 6 | minute;
}

TEST(SessionSlots, SlotsOfATwoSessionDay) {
    SessionSlots slots(chartframes::sessionBlock({{930, 1130}, {1300, 1500}}).span());
    const std::vector<std::pair<int, int>> cases = {
        {0, 930}, {30, 1000}, {120, 1130}, {121, 1301}, {179, 1359}, {240, 1500}, {241, 0}, {500, 0},
    };
    for (const auto &[slot, time] : cases)
        EXPECT_EQ(GetZsTime(slot, slots), time) << slot;
}

TEST(SessionSlots, OvernightSessionsWrapTheHour) {
    SessionSlots slots(chartframes::sessionBlock({{2100, 230}, {900, 1130}}).span());
    const std::vector<std::pair<int, int>> cases = {
        {0, 2100}, {179, 2359}, {180, 0}, {330, 230}, {331, 901}, {480, 1130}, {481, 0},
    };
    for (const auto &[slot, time] : cases)
        EXPECT_EQ(GetZsTime(slot, slots), time) << slot;
}

TEST(SessionSlots, OnlyTheFirstEightSessionsAndThePairsPresentCount) {
    std::vector<chartframes::Session> ten;
    for (uint16_t hour = 1; hour <= 10; ++hour)
        ten.push_back({uint16_t(hour * 100), uint16_t(hour * 100 + 10)});
    SessionSlots slots(chartframes::sessionBlock(ten).span());
    EXPECT_EQ(slots.count, 8);
    EXPECT_EQ(GetZsTime(11 + 7 * 10 - 1, slots), 810);
    EXPECT_EQ(GetZsTime(11 + 7 * 10, slots), 0);

    base::Data cut = chartframes::sessionBlock({{930, 1130}, {1300, 1500}});
    EXPECT_EQ(SessionSlots(cut.subdata(0, cut.length() - 1).span()).count, 1);
    EXPECT_EQ(SessionSlots(cut.subdata(0, 3).span()).count, 0);
    EXPECT_EQ(GetZsTime(0, SessionSlots(ByteView())), 0);
}

TEST(TimeSteps, MinuteCandleSteps) {
    struct Case {
        int32_t prev;
        int step;
        int32_t next;
    };
    const std::vector<Case> cases = {
        {packed(5, 10, 30), 1, packed(5, 10, 31)},  {packed(5, 10, 58), 5, packed(5, 11, 3)},
        {packed(5, 10, 58), 60, packed(5, 11, 58)}, {packed(5, 10, 0), 60, packed(5, 11, 0)},
        {packed(5, 31, 58), 5, packed(5, 0, 3)},    {packed(5, 14, 30), 30, packed(5, 15, 0)},
    };
    for (const Case &c : cases) {
        const std::vector<uint8_t> zero = {0};
        BitReader reader(zero);
        EXPECT_EQ(ExpandMinKLDate(reader, c.prev, c.step), c.next) << c.prev << " " << c.step;
        EXPECT_EQ(reader.pos, 1);
        EXPECT_EQ(reader.error, BitStreamOK);
    }
}

TEST(TimeSteps, MinuteCandleEscapesAndErrors) {
    BitWriter w;
    w.put(3, 2);
    w.put(uint32_t(packed(6, 9, 31)), 32);
    w.put(1, 2);
    BitReader reader(w.bytes());
    EXPECT_EQ(ExpandMinKLDate(reader, packed(5, 15, 0), 1), packed(6, 9, 31));
    EXPECT_EQ(reader.pos, 34);
    EXPECT_EQ(ExpandMinKLDate(reader, packed(6, 9, 31), 1), 0);
    EXPECT_EQ(reader.error, MinDateError);

    BitReader empty((ByteView()));
    EXPECT_EQ(ExpandMinKLDate(empty, 100, 1), 0);
    EXPECT_EQ(empty.error, MinDateNoData);

    BitWriter cut;
    cut.put(3, 2);
    cut.put(0xFF, 8);
    BitReader shortReader(cut.bytes());
    ExpandMinKLDate(shortReader, 100, 1);
    EXPECT_EQ(shortReader.error, BitMoveOutOfRange);
}

TEST(TimeSteps, DayWeekAndMonthSteps) {
    struct Case {
        int32_t prev;
        int step;
        int32_t next;
    };
    const std::vector<Case> cases = {
        {20120305, 1, 20120306},   {20121231, 1, 20121232},   {20120305, 7, 20120312},
        {20121231, 100, 20121331}, {20120131, 100, 20120231},
    };
    for (const Case &c : cases) {
        const std::vector<uint8_t> zero = {0};
        BitReader reader(zero);
        EXPECT_EQ(ExpandDayKLDate(reader, c.prev, c.step), c.next) << c.prev << " " << c.step;
        EXPECT_EQ(reader.error, BitStreamOK);
    }
}

TEST(TimeSteps, DayOfTheNextMonthAndAbsoluteDates) {
    BitWriter w;
    w.put(1, 2);
    w.put(5, 5);
    w.put(3, 2);
    w.put(20130104, 32);
    BitReader reader(w.bytes());
    EXPECT_EQ(ExpandDayKLDate(reader, 20121231, 1), 20121305);
    EXPECT_EQ(reader.pos, 7);
    EXPECT_EQ(ExpandDayKLDate(reader, 20121305, 1), 20130104);
    EXPECT_EQ(reader.pos, 41);
    EXPECT_EQ(reader.error, BitStreamOK);
    reader.totalBits = reader.pos;
    EXPECT_EQ(ExpandDayKLDate(reader, 20130104, 1), 0);
    EXPECT_EQ(reader.error, DayDateNoData);
}

} // namespace
