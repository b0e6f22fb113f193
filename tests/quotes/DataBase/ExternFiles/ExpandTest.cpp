#include "peers/ChartFrameWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using namespace chartframes;

int32_t word(const std::vector<uint8_t> &out, size_t offset) {
    uint32_t pos = uint32_t(offset);
    return ComAPI::ReadInt(out, pos);
}

int32_t shortAt(const std::vector<uint8_t> &out, size_t offset) {
    uint32_t pos = uint32_t(offset);
    return uint16_t(ComAPI::ReadShort(out, pos));
}

struct Expanded {
    int records = 0;
    uint32_t size = 0;
    ByteView sessions;
    std::vector<uint8_t> out;
};

Expanded expandMin(const base::Data &frame, size_t bufferSize = 10240) {
    Expanded e;
    e.out.assign(bufferSize, 0);
    e.records = NewExpandMinData(frame.span(), e.out, e.size, &e.sessions);
    return e;
}

Expanded expandKLine(const base::Data &frame, size_t bufferSize = 10240) {
    Expanded e;
    e.out.assign(bufferSize, 0);
    e.records = NewExpandKLineData(frame.span(), e.out, e.size);
    return e;
}

// Minutes with small steps, large jumps (escapes), falls and a running total volume.
const std::vector<Minute> minutes = {
    {1000, 50, 1000, 7},      {996, 80, 998, 7},     {1150, 90000, 1050, 300},
    {1150, 90000, 1050, 300}, {-20, 5000000, 1, -5}, {1001, 5000100, 999, 0},
};

TEST(ExpandMinData, CodedAndPlainMinutesGetTheirSlotTimes) {
    for (bool hold : {false, true}) {
        MinFrame layout;
        layout.hold = hold;
        layout.position = 17;
        layout.count = 6;
        layout.coded.assign(minutes.begin(), minutes.begin() + 4);
        layout.plain.assign(minutes.begin() + 4, minutes.end());
        layout.step = 60;
        Expanded e = expandMin(codedMinFrame(layout));
        const uint32_t R = hold ? 20 : 16;
        ASSERT_EQ(e.records, 6) << hold;
        EXPECT_EQ(e.size, R * 6 + 14);
        EXPECT_EQ(e.sessions.size(), 12u);
        EXPECT_EQ(e.out[0], 0);
        EXPECT_EQ(shortAt(e.out, 1), 2942);
        EXPECT_EQ(shortAt(e.out, 3), 0);
        EXPECT_EQ(shortAt(e.out, 5), int(R * 6 + 7));
        EXPECT_EQ(e.out[7], hold ? 1 : 0);
        EXPECT_EQ(shortAt(e.out, 8), 0x0A0B);
        EXPECT_EQ(shortAt(e.out, 10), 17);
        EXPECT_EQ(shortAt(e.out, 12), 6);
        const int times[] = {930, 1030, 1130, 1400, 1500, 0};
        for (size_t i = 0; i < minutes.size(); ++i) {
            size_t at = 14 + i * R;
            EXPECT_EQ(word(e.out, at), times[i]) << i;
            EXPECT_EQ(word(e.out, at + 4), minutes[i].price) << i;
            EXPECT_EQ(word(e.out, at + 8), minutes[i].totalVol) << i;
            EXPECT_EQ(word(e.out, at + 12), minutes[i].ave) << i;
            if (hold) {
                EXPECT_EQ(word(e.out, at + 16), minutes[i].holdVol) << i;
            }
        }
        EXPECT_EQ(word(e.out, 14 + 6 * R), 0);
    }
}

TEST(ExpandMinData, TooSmallABufferGetsTheSizeAndNothingWritten) {
    MinFrame layout;
    layout.hold = true;
    layout.coded.assign(600, Minute{1000, 10, 1000, 3});
    std::vector<uint8_t> out(10240, 0xEE);
    uint32_t size = 0;
    ByteView sessions;
    base::Data frame = codedMinFrame(layout);
    EXPECT_EQ(NewExpandMinData(frame.span(), out, size, &sessions), 0);
    EXPECT_EQ(size, 12014u);
    EXPECT_EQ(sessions.data(), frame.bytes() + 20);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0xEE), 10240);

    out.assign(size, 0xEE);
    EXPECT_EQ(NewExpandMinData(frame.span(), out, size, nullptr), 600);
    EXPECT_EQ(word(out, 14 + 599 * 20), 0);
    EXPECT_EQ(word(out, 14 + 240 * 20 + 4), 1000);
}

TEST(ExpandMinData, LongestDayIsExpandedAndLongerFramesRefused) {
    MinFrame layout;
    layout.hold = true;
    layout.sessions = {{600, 559}};
    layout.coded.assign(1440, Minute{1000, 10, 1000, 3});
    Expanded full = expandMin(codedMinFrame(layout), MaxExpandedMinDataSize);
    EXPECT_EQ(full.records, 1440);
    EXPECT_EQ(word(full.out, 14 + 1439 * 20), 559);

    layout.plain.push_back({});
    Expanded over = expandMin(codedMinFrame(layout), 2 * MaxExpandedMinDataSize);
    EXPECT_EQ(over.records, 0);
    EXPECT_EQ(over.size, 0u);
    EXPECT_EQ(over.sessions.size(), 8u);
    EXPECT_EQ(over.out[1], 0);
}

TEST(ExpandMinData, RefusedFrames) {
    MinFrame layout;
    layout.coded.assign(minutes.begin(), minutes.begin() + 2);
    const base::Data good = codedMinFrame(layout);
    auto patched = [&](size_t offset, uint8_t byte) {
        base::Data frame = good;
        frame.mutableBytes()[offset] = byte;
        return frame;
    };
    auto withBodyLength = [&](int length) {
        base::Data frame = good;
        frame.mutableBytes()[5] = uint8_t(length);
        frame.mutableBytes()[6] = uint8_t(length >> 8);
        return frame;
    };
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"candle type", patched(1, 0x80)},
        {"plain attribute", patched(3, 0)},
        {"body of 21 bytes", withBodyLength(21)},
        {"body longer than the frame", withBodyLength(int(good.length()))},
        {"session block past the body", patched(19, uint8_t(good.length() - 19))},
        {"header only", good.subdata(0, 7)},
        {"nothing", base::Data()},
    };
    for (const auto &[name, frame] : cases) {
        Expanded e = expandMin(frame);
        EXPECT_EQ(e.records, 0) << name;
        EXPECT_EQ(e.size, 0u) << name;
        EXPECT_TRUE(e.sessions.empty()) << name;
        EXPECT_EQ(std::count(e.out.begin(), e.out.end(), 0), 10240) << name;
    }
    EXPECT_EQ(expandMin(good).records, 2);
}

TEST(ExpandMinData, StreamFailingPartWayLeavesAFullLengthFrameOfZeros) {
    MinFrame layout;
    layout.coded = {{1000, 50, 1000}, {5000000, 60, 1000}, {1000, 70, 1000}};
    base::Data frame = codedMinFrame(layout);
    // Cut the stream inside the second minute's escaped price: the price takes the bits left,
    // the total volume finds none.
    size_t cut = 8;
    base::Data shorter = frame.subdata(0, frame.length() - cut);
    int length = int(shorter.length()) - 7;
    shorter.mutableBytes()[5] = uint8_t(length);
    Expanded e = expandMin(shorter);
    EXPECT_EQ(e.records, 0);
    EXPECT_EQ(e.size, 3u * 16 + 14);
    EXPECT_EQ(shortAt(e.out, 5), 3 * 16 + 7);
    EXPECT_EQ(word(e.out, 14), 930);
    EXPECT_EQ(word(e.out, 18), 1000);
    for (size_t at = 30; at < 62; at += 4)
        EXPECT_EQ(word(e.out, at), 0) << at;
}

TEST(ExpandMinData, PlainTailMissingFromTheBodyStaysZero) {
    MinFrame layout;
    layout.coded.assign(minutes.begin(), minutes.begin() + 2);
    base::Data frame = codedMinFrame(layout);
    // Announce two plain minutes that the body does not hold.
    frame.mutableBytes()[16] = 2;
    Expanded e = expandMin(frame);
    EXPECT_EQ(e.records, 2);
    EXPECT_EQ(e.size, 4u * 16 + 14);
    EXPECT_EQ(word(e.out, 14 + 16 + 4), minutes[1].price);
    EXPECT_EQ(word(e.out, 14 + 32), 0);
    EXPECT_EQ(word(e.out, 14 + 32 + 4), 0);
}

const std::vector<Candle> dayCandles = {
    {20121228, 1000, 1050, 990, 1020, 5000, 600000, 70},
    {20121231, 1020, 1020, 1020, 1020, 0, 0, 70},
    {20130104, 0, 2000000, -5, 1000000, 123456789, -7, 100000},
    {20130105, 998, 1001, 990, 995, 10, 1, 0},
    {20130112, 995, 995, 900, 900, 10, 1, 1},
};

TEST(ExpandKLineData, DayCandlesWithAndWithoutHold) {
    for (bool hold : {false, true}) {
        Expanded e = expandKLine(codedKLineFrame(7, hold, dayCandles));
        const uint32_t S = hold ? 32 : 28;
        ASSERT_EQ(e.records, 5) << hold;
        EXPECT_EQ(e.size, 5 * S + 10);
        EXPECT_EQ(shortAt(e.out, 1), 2944);
        EXPECT_EQ(shortAt(e.out, 3), 0);
        EXPECT_EQ(shortAt(e.out, 5), int(5 * S + 3));
        EXPECT_EQ(e.out[7], hold ? 1 : 0);
        EXPECT_EQ(shortAt(e.out, 8), 5);
        for (size_t i = 0; i < dayCandles.size(); ++i) {
            size_t at = 10 + i * S;
            Candle c{word(e.out, at),      word(e.out, at + 4),
                     word(e.out, at + 8),  word(e.out, at + 12),
                     word(e.out, at + 16), word(e.out, at + 20),
                     word(e.out, at + 24), hold ? word(e.out, at + 28) : 0};
            Candle expected = dayCandles[i];
            if (!hold)
                expected.hold = 0;
            EXPECT_EQ(c, expected) << i;
        }
    }
}

TEST(ExpandKLineData, MinuteCandlesStepByTheirPeriod) {
    const int32_t start = 5 << 11 | 9 << 6 | 35;
    std::vector<Candle> candles;
    for (int i = 0; i < 6; ++i) {
        int minutes = 35 + 5 * i;
        candles.push_back(
            {5 << 11 | (9 + minutes / 60) << 6 | minutes % 60, 1000 + i, 1010 + i, 990, 1000, 1, 2, 0});
    }
    ASSERT_EQ(candles[0].time, start);
    Expanded e = expandKLine(codedKLineFrame(2, false, candles));
    ASSERT_EQ(e.records, 6);
    for (size_t i = 0; i < candles.size(); ++i)
        EXPECT_EQ(word(e.out, 10 + i * 28), candles[i].time) << i;
}

TEST(ExpandKLineData, FailedStreamKeepsTheBodyLengthZero) {
    base::Data frame = codedKLineFrame(7, true, dayCandles);
    frame.mutableBytes()[10] = 9;
    Expanded e = expandKLine(frame);
    EXPECT_EQ(e.records, 5);
    EXPECT_EQ(e.size, 9u * 32 + 10);
    EXPECT_EQ(shortAt(e.out, 1), 0);
    EXPECT_EQ(shortAt(e.out, 5), 0);
    EXPECT_EQ(word(e.out, 10 + 4 * 32), 20130112);
}

TEST(ExpandKLineData, SizesAndRefusals) {
    const base::Data good = codedKLineFrame(7, true, dayCandles);
    std::vector<uint8_t> small(5 * 32 + 9, 0xEE);
    uint32_t size = 0;
    EXPECT_EQ(NewExpandKLineData(good.span(), small, size), 0);
    EXPECT_EQ(size, 5u * 32 + 10);
    EXPECT_EQ(std::count(small.begin(), small.end(), 0xEE), long(small.size()));

    auto patched = [&](size_t offset, uint8_t byte) {
        base::Data frame = good;
        frame.mutableBytes()[offset] = byte;
        return frame;
    };
    base::Data tooMany = patched(10, 0x34);
    tooMany.mutableBytes()[11] = 0x08;
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"intraday type", patched(1, 0x7E)},
        {"plain attribute", patched(3, 0)},
        {"body of 6 bytes", patched(5, 6)},
        {"body longer than the frame", good.subdata(0, good.length() - 1)},
        {"2100 candles", tooMany},
    };
    for (const auto &[name, frame] : cases) {
        Expanded e = expandKLine(frame, 80000);
        EXPECT_EQ(e.records, 0) << name;
        EXPECT_EQ(e.size, 0u) << name;
        EXPECT_EQ(e.out[1], 0) << name;
    }

    base::Data empty = codedKLineFrame(7, false, {});
    empty.append("\0", 1);
    empty.mutableBytes()[5] = 7;
    Expanded none = expandKLine(empty);
    EXPECT_EQ(none.records, 0);
    EXPECT_EQ(none.size, 10u);
    EXPECT_EQ(shortAt(none.out, 5), 3);
}

// Field differences of every size, so that long replies use every code of every group, its escape
// and zero bases, far from the end of the stream as well as close to it.
class Differences {
public:
    int32_t next(int32_t previous) {
        switch (kind_(random_)) {
        case 0:
            return 0;
        case 1:
            return moved(previous, small_(random_));
        case 2:
            return moved(previous, medium_(random_));
        case 3:
            return moved(previous, large_(random_));
        default:
            return int32_t(random_());
        }
    }

private:
    static int32_t moved(int32_t value, int32_t by) { return int32_t(uint32_t(value) + uint32_t(by)); }

    std::mt19937 random_{5};
    std::uniform_int_distribution<int> kind_{0, 9}, small_{-8, 8}, medium_{-3000, 3000},
        large_{-900000, 900000};
};

TEST(ExpandMinData, LongRepliesGiveBackEveryMinute) {
    for (bool hold : {false, true}) {
        Differences next;
        MinFrame layout;
        layout.hold = hold;
        Minute m;
        for (int i = 0; i < 600; ++i) {
            m = {next.next(m.price), next.next(m.totalVol), next.next(m.ave), next.next(m.holdVol)};
            (i < 590 ? layout.coded : layout.plain).push_back(m);
        }
        Expanded e = expandMin(codedMinFrame(layout), MaxExpandedMinDataSize);
        ASSERT_EQ(e.records, 600) << hold;
        const size_t R = hold ? 20 : 16;
        for (size_t i = 0; i < 600; ++i) {
            const Minute &expected = i < 590 ? layout.coded[i] : layout.plain[i - 590];
            size_t at = 14 + i * R;
            Minute got{word(e.out, at + 4), word(e.out, at + 8), word(e.out, at + 12),
                       hold ? word(e.out, at + 16) : expected.holdVol};
            ASSERT_TRUE(got.price == expected.price && got.totalVol == expected.totalVol &&
                        got.ave == expected.ave && got.holdVol == expected.holdVol)
                << hold << " minute " << i;
        }
    }
}

TEST(ExpandKLineData, LongRepliesGiveBackEveryCandle) {
    for (bool hold : {false, true}) {
        Differences next;
        std::vector<Candle> candles;
        Candle c{20100104};
        for (int i = 0; i < 1500; ++i) {
            // Mostly the next day, now and then a later day of the next month or any date.
            c.time = i % 17 == 16 ? c.time - c.time % 100 + 105 : i % 101 == 100 ? 20150000 + i : c.time + 1;
            c = {c.time,           next.next(c.close), next.next(c.open),   next.next(c.open),
                 next.next(c.low), next.next(c.vol),   next.next(c.amount), hold ? next.next(c.hold) : 0};
            candles.push_back(c);
        }
        Expanded e = expandKLine(codedKLineFrame(7, hold, candles), MaxExpandedKLineDataSize);
        ASSERT_EQ(e.records, 1500) << hold;
        const size_t S = hold ? 32 : 28;
        for (size_t i = 0; i < candles.size(); ++i) {
            size_t at = 10 + i * S;
            Candle got{word(e.out, at),      word(e.out, at + 4),
                       word(e.out, at + 8),  word(e.out, at + 12),
                       word(e.out, at + 16), word(e.out, at + 20),
                       word(e.out, at + 24), hold ? word(e.out, at + 28) : 0};
            ASSERT_EQ(got, candles[i]) << hold << " candle " << i;
        }
    }
}

} // namespace
