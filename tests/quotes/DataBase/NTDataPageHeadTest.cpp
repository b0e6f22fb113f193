#include "DataBase/NTDataPageHead.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes frame(uint8_t seqID, uint16_t type, Bytes body) {
    base::Data out;
    EXPECT_TRUE(NTDataPageHead::append(out, seqID, type, 0, body));
    return out.vector();
}

TEST(NTDataPageHead, ReadsThePlainAndTheLongHeader) {
    auto plain = NTDataPageHead::read(Bytes{0x05, 0x8B, 0x0B, 0x02, 0x00, 0x0A, 0x00});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->seqID, 5);
    EXPECT_EQ(plain->type, 2955);
    EXPECT_EQ(plain->attribute, 2);
    EXPECT_EQ(plain->bodyLength, 10u);
    EXPECT_EQ(plain->frameLength(), 17u);

    // Code-table replies carry a 32-bit body length.
    auto code = NTDataPageHead::read(Bytes{0x07, 0x8C, 0x0B, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00});
    ASSERT_TRUE(code);
    EXPECT_EQ(code->bodyLength, 0x10000u);
    EXPECT_EQ(code->frameLength(), 9u + 0x10000u);
}

TEST(NTDataPageHead, WaitsForTheWholeHeader) {
    EXPECT_FALSE(NTDataPageHead::read(Bytes{0x05, 0x8B, 0x0B, 0x00, 0x00, 0x0A}));
    EXPECT_FALSE(NTDataPageHead::read(Bytes{0x07, 0x8C, 0x0B, 0x04, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_FALSE(NTDataPageHead::read(Bytes{}));
}

TEST(NTDataFrame, CoversExactlyOneFrameOfTwoInOneRead) {
    Bytes buffer = frame(1, 2955, {0x02, 0x00});
    Bytes second = frame(2, 2955, {0x34, 0x12, 0x00, 0x00});
    buffer.insert(buffer.end(), second.begin(), second.end());

    auto first = NTDataFrame::first(buffer);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->bytes().size(), 9u);
    EXPECT_EQ(first->body().size(), 2u);
    EXPECT_FALSE(first->isEmpty());

    // A parser that expects a short and then an int finds the short and zero, not the neighbour.
    uint32_t pos = NTDataPageHead::Size;
    EXPECT_EQ(ComAPI::ReadShort(first->bytes(), pos), 2);
    EXPECT_EQ(ComAPI::ReadInt(first->bytes(), pos), 0);
    EXPECT_EQ(pos, 9u);
}

TEST(NTDataFrame, WaitsUntilTheWholeFrameHasArrived) {
    Bytes whole = frame(1, 2942, Bytes(20, 0xEE));
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(NTDataFrame::first(ByteView(whole).first(n))) << n;
    EXPECT_TRUE(NTDataFrame::first(whole));
}

TEST(NTDataFrame, AFrameWithoutBodyIsEmpty) {
    Bytes empty = frame(3, 2600, {});
    auto view = NTDataFrame::first(empty);
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isEmpty());
    uint32_t pos = NTDataPageHead::Size;
    EXPECT_EQ(ComAPI::ReadString(view->bytes(), pos), "");
    EXPECT_EQ(pos, NTDataPageHead::Size);
}

} // namespace

namespace {

TEST(NTDataPageHead, AppendWritesTheRequestHeader) {
    struct Case {
        uint8_t seqID;
        uint16_t type, attribute;
        Bytes head;
    };
    const std::vector<Case> cases = {
        {5, 2955, 0, {0x05, 0x8B, 0x0B, 0x00, 0x00, 0x03, 0x00}},
        {0, 1000, 0, {0x7B, 0xE8, 0x03, 0x00, 0x00, 0x03, 0x00}},
        {249, 2956, 4, {0xF9, 0x8C, 0x0B, 0x04, 0x00, 0x03, 0x00}},
    };
    for (const auto &c : cases) {
        base::Data out;
        ASSERT_TRUE(NTDataPageHead::append(out, c.seqID, c.type, c.attribute, Bytes{1, 2, 3}));
        Bytes expected = c.head;
        expected.insert(expected.end(), {1, 2, 3});
        EXPECT_EQ(out.vector(), expected) << c.type;
    }
}

TEST(NTDataPageHead, AppendRefusesAnOverlongBody) {
    base::Data out;
    EXPECT_FALSE(NTDataPageHead::append(out, 1, 2955, 0, Bytes(NTDataPageHead::MaxBodyLength + 1)));
    EXPECT_TRUE(out.empty());
}

} // namespace
