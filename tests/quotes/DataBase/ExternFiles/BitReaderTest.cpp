#include "peers/ChartFrameWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using chartframes::BitWriter;

std::vector<uint8_t> streamOf(const std::vector<int> &bits) {
    BitWriter w;
    for (int bit : bits)
        w.put(uint32_t(bit), 1);
    return w.bytes();
}

TEST(BitReader, ReadsLeastSignificantBitFirstWithoutMoving) {
    const std::vector<uint8_t> bytes = {0x6B, 0xA5, 0x01};
    BitReader reader(bytes);
    reader.pos = 3;
    uint32_t value = 0;
    EXPECT_EQ(GetNoMove(reader, 12, value), 12);
    EXPECT_EQ(value, 0x4ADu) << std::hex << value;
    EXPECT_EQ(reader.pos, 3);

    reader.pos = 20;
    EXPECT_EQ(GetNoMove(reader, 16, value), 4);
    EXPECT_EQ(value, 0u);
    reader.pos = 16;
    EXPECT_EQ(GetNoMove(reader, 8, value), 8);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(reader.error, BitStreamOK);
}

TEST(BitReader, ReadErrors) {
    const std::vector<uint8_t> bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    uint32_t value = 7;
    struct Case {
        int pos, n, answer;
        uint32_t error;
    };
    for (const Case &c :
         {Case{0, 33, -1, BitLenError}, Case{0, 0, -1, BitStreamOK}, Case{40, 1, -1, BitPosOutOfRange},
          Case{0, 32, 32, BitStreamOK}, Case{39, 32, 1, BitStreamOK}}) {
        BitReader reader(bytes);
        reader.pos = c.pos;
        EXPECT_EQ(GetNoMove(reader, c.n, value), c.answer) << c.pos << " " << c.n;
        EXPECT_EQ(reader.error, c.error) << c.pos << " " << c.n;
    }
    BitReader reader(bytes);
    reader.pos = 8;
    EXPECT_EQ(GetNoMove(reader, 32, value), 32);
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

TEST(BitReader, WorkedPriceDecode) {
    const std::vector<uint8_t> bytes = {0x6B};
    BitReader reader(bytes);
    reader.table = MinPriceCodes;
    EXPECT_EQ(DecodeData(reader, 1000, false), 996);
    EXPECT_EQ(reader.pos, 7);
    EXPECT_EQ(reader.error, BitStreamOK);
}

TEST(BitReader, PriceDifferencesByCode) {
    struct Case {
        std::vector<int> bits;
        int32_t difference;
        int32_t length;
    };
    const std::vector<Case> cases = {
        {{0}, 0, 1},
        {{1, 0, 0, 0}, 0, 4},
        {{1, 0, 1, 0}, 1, 4},
        {{1, 0, 0, 1}, -2, 4},
        {{1, 0, 1, 1}, -1, 4},
        {{1, 1, 0, 0, 0, 0, 0}, 1, 7},
        {{1, 1, 0, 1, 1, 1, 0}, 8, 7},
        {{1, 1, 0, 0, 0, 0, 1}, -9, 7},
        {{1, 1, 0, 1, 1, 1, 1}, -2, 7},
        {{1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 9, 12},
        {{1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, -137, 12},
    };
    for (const Case &c : cases) {
        auto bytes = streamOf(c.bits);
        BitReader reader(bytes);
        reader.table = MinPriceCodes;
        EXPECT_EQ(DecodeData(reader, 1000, false), 1000 + c.difference) << c.difference;
        EXPECT_EQ(reader.pos, c.length) << c.difference;
        EXPECT_EQ(reader.error, BitStreamOK);
    }
}

TEST(BitReader, AbsoluteCodesAndZeroBasesIgnoreTheBase) {
    BitWriter w;
    w.put(31, 5);
    w.put(123456, 32);
    w.put(0, 1);
    w.put(0, 16);
    BitReader reader(w.bytes());
    reader.table = MinPriceCodes;
    EXPECT_EQ(DecodeData(reader, 1000, false), 123456);
    reader.table = KLineRangeCodes;
    // A first candle's low against an open of 0: the decoded value, not its negative.
    EXPECT_EQ(DecodeData(reader, 0, true), 256);
    EXPECT_EQ(reader.error, BitStreamOK);
}

TEST(BitReader, SubtractFlagTakesTheDifferenceAway) {
    BitWriter w;
    chartframes::putField(w, KLineRangeCodes, 1000, 990, true);
    BitReader reader(w.bytes());
    reader.table = KLineRangeCodes;
    EXPECT_EQ(DecodeData(reader, 1000, true), 990);
}

TEST(BitReader, OperatorsAndBiases) {
    struct Case {
        CodeTableEntry entry;
        uint32_t data;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {{0, 1, 0, 'E', 42, 1}, 0, 43},      {{0, 1, 4, 'P', 0, 2}, 5, 34},
        {{0, 1, 8, 'P', 0, 0}, 40, 0},       {{0, 1, 4, 'S', 3 << 16, 1}, 5, 41},
        {{0, 1, 4, 'S', 40 << 16, 1}, 5, 1}, {{0, 1, 4, 'Z', 0, 1}, 0b1001, 300},
        {{0, 1, 4, 'm', 0, 2}, 0b0011, -15}, {{0, 1, 4, 'B', 0, 3}, 0b1111, 18},
        {{0, 1, 4, 'b', 0, 3}, 0b0111, 10},  {{0, 1, 4, 'b', 0, 3}, 0b1000, -11},
        {{0, 1, 4, 'M', 0, 3}, 0b1000, 8},   {{0, 1, 4, 's', 0, 3}, 0b1000, 8},
        {{0, 1, 4, 'q', 0, 3}, 0b1000, 11},
    };
    for (const Case &c : cases) {
        BitWriter w;
        w.put(0, 1);
        w.put(c.data, c.entry.dataLength);
        BitReader reader(w.bytes());
        reader.table = CodeTable(&c.entry, 1);
        int32_t value = 0;
        ASSERT_EQ(DecodeFindMatch(reader, value), &c.entry) << c.entry.op;
        EXPECT_EQ(value, c.value) << c.entry.op << " " << c.data;
    }
}

TEST(BitReader, MatchFailures) {
    const CodeTableEntry only = {1, 2, 4, 'b', 0, 0};
    auto bytes = streamOf({0, 0});
    BitReader reader(bytes);
    reader.table = CodeTable(&only, 1);
    EXPECT_EQ(DecodeData(reader, 100, false), 0);
    EXPECT_EQ(reader.error, BitNoMatch);

    // The last bit starts a two-bit code: the peek pads it with a zero, the advance fails.
    const std::vector<uint8_t> last = {0x80};
    BitReader shortReader(last);
    shortReader.pos = 7;
    shortReader.table = MinPriceCodes;
    int32_t value = 0;
    EXPECT_EQ(DecodeFindMatch(shortReader, value), nullptr);
    EXPECT_EQ(shortReader.error, BitMoveOutOfRange);
}

TEST(BitReader, FieldCutShortTakesWhatRemainsThenTheNextFails) {
    BitWriter w;
    w.put(3, 3);
    w.put(0b01, 2);
    BitReader reader(w.bytes());
    reader.totalBits = 5;
    reader.table = MinPriceCodes;
    EXPECT_EQ(DecodeData(reader, 1000, false), 1002);
    EXPECT_EQ(reader.pos, 5);
    EXPECT_EQ(reader.error, BitStreamOK);
    EXPECT_EQ(DecodeData(reader, 1000, false), 0);
    EXPECT_EQ(reader.error, BitPosOutOfRange);
}

} // namespace
