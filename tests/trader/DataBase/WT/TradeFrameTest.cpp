#include "TradeTestFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeFrame.h"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace tradetest;
using Kind = TradeFrameCut::Kind;

namespace {

TEST(TradeFrame, HeaderIsLittleEndianWithTheChecksumOverEverythingFromOffsetFour) {
    CommPackInfo header;
    header.compressed = 0;
    header.packtype = kTradePackF;
    header.cookie = 0x01020304;
    header.synID = 0x7FFFFFFD;
    header.rawLength = 3;
    base::Data frame = makeTradeFrame(header, reinterpret_cast<const uint8_t *>("abc"), 3);
    ASSERT_EQ(frame.length(), 25u);
    EXPECT_EQ(toHex(frame).substr(8), "000f04030201fdffff7f0300000003000000616263");
    uint32_t crc = crc32_crypto(frame.bytes() + 4, 21);
    EXPECT_EQ(uint32_t(readInt32LE(frame.bytes())), crc);

    CommPackInfo read = CommPackInfo::read(frame.bytes());
    EXPECT_EQ(read.cookie, 0x01020304);
    EXPECT_EQ(read.synID, 0x7FFFFFFD);
    EXPECT_EQ(read.datalen, 3);
}

base::Data withField(base::Data frame, size_t offset, int32_t value) {
    writeInt32LE(frame.mutableBytes() + offset, value);
    return frame;
}

base::Data rechecked(base::Data frame) {
    writeInt32LE(frame.mutableBytes(), int32_t(crc32_crypto(frame.bytes() + 4, frame.length() - 4)));
    return frame;
}

TEST(TradeFrame, CutterChecksLengthsChecksumsAndInflation) {
    base::Data text = base::Data::fromString("21004=11105\x01");
    base::Data plain = replyFrame(kTradePackF, text, 7);
    base::Data packed = replyFrame(kTradePackF, text, 7, 0, true);
    base::Data flipped = plain;
    flipped.mutableBytes()[30] ^= 1;
    base::Data shortInflation = rechecked(withField(packed, 14, int32_t(text.length()) - 1));
    base::Data longInflation = rechecked(withField(packed, 14, int32_t(text.length()) + 1));
    base::Data notZlib = plain;
    notZlib.mutableBytes()[4] = 1;
    notZlib = rechecked(notZlib);

    struct Case {
        const char *name;
        base::Data bytes;
        Kind kind;
        size_t consumed;
    } cases[] = {
        {"21 bytes wait for more", plain.subdata(0, 21), Kind::NeedMore, 0},
        {"partial payload waits", plain.subdata(0, plain.length() - 1), Kind::NeedMore, 0},
        {"plain frame", plain, Kind::Deliver, plain.length()},
        {"compressed frame", packed, Kind::Deliver, packed.length()},
        {"empty payload", replyFrame(kTradePackF, {}, 7), Kind::Drop, 22},
        {"bad checksum", flipped, Kind::Drop, plain.length()},
        {"inflates short of the announced size", shortInflation, Kind::Drop, packed.length()},
        {"inflates beyond the announced size", longInflation, Kind::Drop, packed.length()},
        {"compressed flag on plain bytes", notZlib, Kind::Drop, plain.length()},
        {"negative datalen", withField(plain, 18, -1), Kind::Corrupt, 0},
        {"datalen above the cap", withField(plain, 18, kTradeMaxLength + 1), Kind::Corrupt, 0},
        {"negative rawLength", withField(plain, 14, -5), Kind::Corrupt, 0},
        {"rawLength above the cap", withField(packed, 14, kTradeMaxLength + 1), Kind::Corrupt, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TradeFrameCut cut = cutTradeFrame(c.bytes.bytes(), c.bytes.length());
        EXPECT_EQ(cut.kind, c.kind);
        EXPECT_EQ(cut.consumed, c.consumed);
        if (c.kind == Kind::Deliver) {
            EXPECT_EQ(cut.payload, text);
            EXPECT_EQ(cut.header.synID, 7);
        }
    }
}

TEST(TradeFrame, TwoFramesInOneBufferAreCutInOrder) {
    base::Data buffer = replyFrame(kTradePackF, base::Data::fromString("a"), 1);
    buffer.append(replyFrame(kTradePackF, base::Data::fromString("bc"), 2));
    TradeFrameCut first = cutTradeFrame(buffer.bytes(), buffer.length());
    ASSERT_EQ(first.kind, Kind::Deliver);
    EXPECT_EQ(first.header.synID, 1);
    TradeFrameCut second = cutTradeFrame(buffer.bytes() + first.consumed, buffer.length() - first.consumed);
    ASSERT_EQ(second.kind, Kind::Deliver);
    EXPECT_EQ(second.header.synID, 2);
    EXPECT_EQ(second.payload.toString(), "bc");
}

} // namespace
