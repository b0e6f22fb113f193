#include "DataBase/ComAPI.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct IntCase {
    const char *name;
    Bytes bytes;
    std::function<int64_t(ByteView, uint32_t &)> read;
    int64_t value;
    uint32_t width;
};

const auto readByte = [](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadByte(b, p); };
const auto readShort = [](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadShort(b, p); };
const auto readInt = [](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadInt(b, p); };
const auto readInt24 = [](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadInt24(b, p); };
const auto readLong = [](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadLongLong(b, p); };
auto readNum(int width) {
    return [width](ByteView b, uint32_t &p) -> int64_t { return ComAPI::ReadNum(b, p, width); };
}

const std::vector<IntCase> intCases = {
    {"byte sign-extends", {0xFF}, readByte, -1, 1},
    {"short sign-extends", {0xFF, 0xFF}, readShort, -1, 2},
    {"short little-endian", {0x34, 0x12}, readShort, 0x1234, 2},
    {"int little-endian", {0x78, 0x56, 0x34, 0x12}, readInt, 0x12345678, 4},
    {"int top bit is the sign", {0x00, 0x00, 0x00, 0x80}, readInt, INT32_MIN, 4},
    {"int24 lowest", {0x00, 0x00, 0x80}, readInt24, -8388608, 3},
    {"int24 highest", {0xFF, 0xFF, 0x7F}, readInt24, 8388607, 3},
    {"int24 minus one", {0xFF, 0xFF, 0xFF}, readInt24, -1, 3},
    {"long long", {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, readLong, -2, 8},
    {"num width 1 zero-extends", {0xFF}, readNum(1), 255, 1},
    {"num width 2 zero-extends", {0xFF, 0xFF}, readNum(2), 65535, 2},
    {"num width 3", {0x01, 0x02, 0x03}, readNum(3), 0x030201, 3},
    {"num width 4 zero-extends", {0xFF, 0xFF, 0xFF, 0xFF}, readNum(4), 0xFFFFFFFFu, 4},
};

TEST(ComAPIReaders, DecodeLittleEndianValuesAndMoveTheCursor) {
    for (const auto &c : intCases) {
        uint32_t pos = 0;
        EXPECT_EQ(c.read(c.bytes, pos), c.value) << c.name;
        EXPECT_EQ(pos, c.width) << c.name;
    }
}

TEST(ComAPIReaders, ShortBytesGiveZeroAndLeaveTheCursor) {
    for (const auto &c : intCases) {
        Bytes shortBytes(c.bytes.begin(), c.bytes.end() - 1);
        uint32_t pos = 0;
        EXPECT_EQ(c.read(shortBytes, pos), 0) << c.name;
        EXPECT_EQ(pos, 0u) << c.name;
        // At the very end of the buffer as well.
        pos = uint32_t(c.bytes.size());
        EXPECT_EQ(c.read(c.bytes, pos), 0) << c.name;
        EXPECT_EQ(pos, c.bytes.size()) << c.name;
    }
}

TEST(ComAPIReaders, CursorNearTheTopOfItsRangeDoesNotWrapAround) {
    Bytes bytes(8, 0xAA);
    uint32_t pos = UINT32_MAX - 1;
    EXPECT_EQ(ComAPI::ReadInt(bytes, pos), 0);
    EXPECT_EQ(pos, UINT32_MAX - 1);
    EXPECT_EQ(ComAPI::ReadString(bytes, pos), "");
    EXPECT_EQ(pos, UINT32_MAX - 1);
}

TEST(ComAPIReaders, NumRefusesWidthsItCannotHold) {
    Bytes bytes(8, 0x01);
    for (int width : {0, 5, 8, -1}) {
        uint32_t pos = 0;
        EXPECT_EQ(ComAPI::ReadNum(bytes, pos, width), 0u) << width;
        EXPECT_EQ(pos, 0u) << width;
    }
}

TEST(ComAPIReaders, FloatAndDataRoundTrip) {
    base::Data buf;
    ComAPI::WriteFloat(buf, -12.5f);
    ComAPI::WriteInt(buf, 0x01020304);
    uint32_t pos = 0;
    EXPECT_EQ(ComAPI::ReadFloat(buf.span(), pos), -12.5f);
    uint8_t out[4] = {};
    EXPECT_TRUE(ComAPI::ReadData(buf.span(), pos, out, 4));
    EXPECT_EQ(pos, 8u);
    EXPECT_EQ(out[0], 0x04);
    EXPECT_EQ(out[3], 0x01);

    uint8_t untouched[2] = {0x55, 0x55};
    pos = 7;
    EXPECT_FALSE(ComAPI::ReadData(buf.span(), pos, untouched, 2));
    EXPECT_EQ(pos, 7u);
    EXPECT_EQ(untouched[0], 0x55);
}

struct StringCase {
    const char *name;
    Bytes bytes;
    std::string text;
    uint32_t advance;
};

TEST(ComAPIReaders, StringRules) {
    const std::vector<StringCase> cases = {
        {"plain", {3, 0, 'a', 'b', 'c'}, "abc", 5},
        {"count 0 skips the count", {0, 0}, "", 2},
        {"one byte is too short for a count", {3}, "", 0},
        {"count past the end skips only the count", {5, 0, 'a', 'b', 'c'}, "", 2},
        {"negative count skips only the count", {0x00, 0x80, 'a'}, "", 2},
        {"embedded zero ends the text", {4, 0, 'a', 0, 'b', 'c'}, "a", 6},
        {"invalid UTF-8 is skipped", {2, 0, 0xC3, 0x28}, "", 4},
        {"Chinese", {6, 0, 0xE6, 0x8C, 0x87, 0xE6, 0x95, 0xB0}, "指数", 8},
    };
    for (const auto &c : cases) {
        uint32_t pos = 0;
        EXPECT_EQ(ComAPI::ReadString(c.bytes, pos), c.text) << c.name;
        EXPECT_EQ(pos, c.advance) << c.name;
    }
}

Bytes bytesOf(const base::Data &data) {
    return data.vector();
}

TEST(ComAPIWriters, AppendLittleEndianLowBits) {
    base::Data buf;
    ComAPI::WriteByte(buf, 0x1FF);
    ComAPI::WriteShort(buf, 0x12345);
    ComAPI::WriteInt(buf, -2);
    ComAPI::WriteLongLong(buf, 0x0102030405060708);
    EXPECT_EQ(bytesOf(buf), (Bytes{0xFF, 0x45, 0x23, 0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST(ComAPIWriters, StringsCarryTheirUtf8ByteCount) {
    base::Data buf;
    ComAPI::WriteString(buf, "abc");
    ComAPI::WriteString(buf, "指数");
    ComAPI::WriteString(buf, "");
    EXPECT_EQ(bytesOf(buf), (Bytes{3, 0, 'a', 'b', 'c', 6, 0, 0xE6, 0x8C, 0x87, 0xE6, 0x95, 0xB0, 0, 0}));
}

TEST(ComAPIWriters, OverlongStringIsCutAtAWholeCharacter) {
    // 21,846 three-byte characters are 65,538 bytes: only 21,845 of them (65,535 bytes) fit.
    std::string text;
    for (int i = 0; i < 21846; ++i)
        text += "指";
    base::Data buf;
    ComAPI::WriteString(buf, text);
    ASSERT_EQ(buf.length(), 2u + 65535u);
    uint32_t pos = 0;
    EXPECT_EQ(ComAPI::ReadNum(buf.span(), pos, 2), 65535u);
    EXPECT_TRUE(base::Data(buf.bytes() + 2, buf.length() - 2).view() ==
                std::string_view(text).substr(0, 65535));
}

TEST(ComAPIWriters, PatchWriter) {
    struct Case {
        const char *name;
        int32_t start;
        Bytes expected;
        int32_t end;
        bool written;
    };
    const Bytes eight = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<Case> cases = {
        {"negative appends", -1, {1, 2, 3, 4, 5, 6, 7, 8, 0xDD, 0xCC, 0xBB, 0xAA}, -1, true},
        {"overwrites at 0", 0, {0xDD, 0xCC, 0xBB, 0xAA, 5, 6, 7, 8}, 4, true},
        {"grows at the end", 6, {1, 2, 3, 4, 5, 6, 0xDD, 0xCC, 0xBB, 0xAA}, 10, true},
        {"at the end appends", 8, {1, 2, 3, 4, 5, 6, 7, 8, 0xDD, 0xCC, 0xBB, 0xAA}, 12, true},
        {"past the end refuses", 9, eight, 9, false},
    };
    for (const auto &c : cases) {
        base::Data buf(eight);
        int32_t pos = c.start;
        EXPECT_EQ(ComAPI::WriteInt(buf, int32_t(0xAABBCCDD), pos), c.written) << c.name;
        EXPECT_EQ(bytesOf(buf), c.expected) << c.name;
        EXPECT_EQ(pos, c.end) << c.name;
    }
}

TEST(ComAPIFrameWriter, WritesTheHeaderWithTheTagAsSequenceId) {
    const Bytes body = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    struct Case {
        int tag;
        int type;
        Bytes head;
    };
    for (const auto &c : std::vector<Case>{{0, 1000, {0x7B, 0xE8, 0x03, 0x00, 0x00, 0x0A, 0x00}},
                                           {0x105, 2955, {0x05, 0x8B, 0x0B, 0x00, 0x00, 0x0A, 0x00}},
                                           {256, 1904, {0x7B, 0x70, 0x07, 0x00, 0x00, 0x0A, 0x00}}}) {
        base::Data buf;
        ASSERT_TRUE(ComAPI::MakeNTDataPage(buf, c.type, body, c.tag));
        Bytes expected = c.head;
        expected.insert(expected.end(), body.begin(), body.end());
        EXPECT_EQ(bytesOf(buf), expected) << c.tag;
    }
}

TEST(ComAPIFrameWriter, RefusesABodyItsLengthCannotDescribe) {
    base::Data buf = base::Data::fromString("kept");
    EXPECT_FALSE(ComAPI::MakeNTDataPage(buf, 2955, Bytes(65536), 1));
    EXPECT_EQ(buf.toString(), "kept");
    EXPECT_TRUE(ComAPI::MakeNTDataPage(buf, 2955, Bytes(65535), 1));
    EXPECT_EQ(buf.length(), 4u + 7u + 65535u);
}

TEST(ComAPIDeviceID, NineteenCharactersWithAStablePrefixAndRandomDigits) {
    std::string first = ComAPI::getDeviceID();
    for (int i = 0; i < 20; ++i) {
        std::string id = ComAPI::getDeviceID();
        ASSERT_EQ(id.size(), 19u) << id;
        EXPECT_EQ(id.substr(0, 14), first.substr(0, 14));
        EXPECT_EQ(id.substr(0, 3), "301");
        for (char c : id.substr(14))
            EXPECT_TRUE(std::isdigit(uint8_t(c))) << id;
    }
}

} // namespace

namespace {

TEST(ComAPIRowLoop, StopsAtTheEndOfTheFrame) {
    struct Case {
        const char *name;
        size_t bodyBytes;
        int64_t count;
        int64_t rows;
    };
    // Rows of an int and a short (6 bytes).
    const std::vector<Case> cases = {
        {"announced count beyond the bytes", 20, 65535, 4},
        {"whole rows only", 18, 65535, 3},
        {"fewer rows announced than present", 18, 2, 2},
        {"no rows", 18, 0, 0},
        {"negative count", 18, -1, 0},
        {"nothing left to read", 0, 65535, 0},
    };
    for (const auto &c : cases) {
        Bytes body(c.bodyBytes, 0x01);
        uint32_t pos = 0;
        std::vector<std::pair<int32_t, int16_t>> stored;
        int64_t rows = ComAPI::ReadRows(body, pos, c.count, [&](int64_t) {
            int32_t a = ComAPI::ReadInt(body, pos);
            int16_t b = ComAPI::ReadShort(body, pos);
            stored.emplace_back(a, b);
        });
        EXPECT_EQ(rows, c.rows) << c.name;
        EXPECT_EQ(int64_t(stored.size()), c.rows) << c.name;
    }
}

TEST(ComAPIRowLoop, ARowThatReadsNothingEndsTheLoop) {
    // One byte is left, too short for the int each row starts with and for the short after it.
    Bytes body = {0x01};
    uint32_t pos = 0;
    int64_t rows = ComAPI::ReadRows(body, pos, 1000, [&](int64_t) {
        ComAPI::ReadInt(body, pos);
        ComAPI::ReadShort(body, pos);
    });
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(pos, 0u);
}

} // namespace
