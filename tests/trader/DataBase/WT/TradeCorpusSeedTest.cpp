#include "TradeTestFrames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace tradetest;

namespace {

const uint8_t kNonce[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                            0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f};
const uint8_t kZeroKey[16] = {};

struct Seed {
    const char *file;
    base::Data stream;
    std::vector<std::pair<int, bool>> replies; // type and success of each delivered frame, in order
};

std::vector<Seed> seeds() {
    // The key of a phone check with the check code "123456" and an 11-digit mobile.
    base::Data key = fromHex("a37efbd143e7c04df036f063f7a32485");
    const std::string table = "21004=11105\x01"
                              "21000=\x01"
                              "21002=\x01"
                              "1036=600000\x01"
                              "1037=浦发银行\x01"
                              "21003=\x01"
                              "1289=1\x01";
    base::Data accepted = replyFrame(kTradePackD, acceptReply(kNonce, key.bytes(), 5), 1, 99);
    accepted.append(replyFrame(kTradePackC, sealBlock(table, key.bytes(), 6), 2, 99));
    base::Data compressed = replyFrame(kTradePackC, sealBlock(table, kZeroKey, 0, true), 3, 0, true);
    compressed.append(replyFrame(kTradePackF,
                                 base::Data::fromString("21004=11100\x01"
                                                        "21009=密码错误\x01"),
                                 4));
    return {
        {"phone_check_then_enciphered_reply.bin", accepted, {{-100, true}, {11104, true}}},
        {"compressed_reply_then_plain_error.bin", compressed, {{11104, true}, {11100, false}}},
        {"refused_phone_check.bin",
         replyFrame(kTradePackD, refuseReply("手机号码未注册"), 1),
         {{-100, false}}},
        {"reply_text.bin", base::Data::fromString(table), {}},
    };
}

// The seeds of the reply-path fuzz target open as meant. With QV_WRITE_TRADE_CORPUS naming a
// folder, they are also written there.
TEST(TradeCorpusSeeds, OpenAsIntended) {
    const char *out = std::getenv("QV_WRITE_TRADE_CORPUS");
    for (const Seed &seed : seeds()) {
        SCOPED_TRACE(seed.file);
        RecordingCodec codec;
        ASSERT_TRUE(codec.requestD({}, "zira测试", "13800138000", "123456"));
        std::vector<std::pair<int, bool>> replies;
        size_t at = 0;
        while (at < seed.stream.length()) {
            TradeFrameCut cut = cutTradeFrame(seed.stream.bytes() + at, seed.stream.length() - at);
            if (cut.kind != TradeFrameCut::Kind::Deliver)
                break;
            int type = codec.processRspData(cut.payload.bytes(), cut.payload.length(), cut.header);
            replies.emplace_back(type, codec.IO_RspData()->successRsp());
            at += cut.consumed;
        }
        EXPECT_EQ(replies, seed.replies);
        if (out) {
            std::ofstream file(std::string(out) + "/" + seed.file, std::ios::binary);
            file.write(reinterpret_cast<const char *>(seed.stream.bytes()),
                       std::streamsize(seed.stream.length()));
        }
    }
}

} // namespace
