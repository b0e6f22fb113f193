#include "TradeTestFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeReqData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace tradetest;

namespace {

const uint8_t kZeroKey[16] = {};
const uint8_t kNonce[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                            0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f};

bool allZero(const uint8_t *bytes, size_t length) {
    return std::all_of(bytes, bytes + length, [](uint8_t b) { return b == 0; });
}

base::Data payloadOf(const TradeRequestRecord &record) {
    return record.data.subdata(CommPackInfo::kSize, record.data.length() - CommPackInfo::kSize);
}

// Expected bytes computed with the openssl command line (MD5 and AES-128-ECB) and zlib's CRC-32.
TEST(TradeNetCodec, FirstCRequestOfTheProcessIsByteExact) {
    RecordingCodec codec;
    TradeReqData req(11104);
    req.addIntValue(1028, 9);
    auto params = base::Dict{{"page", 1}};
    codec.requestCBase(std::string("EntrustNotify"), req.getReqStr(), params);
    ASSERT_EQ(codec.records.size(), 1u);
    const TradeRequestRecord &record = codec.records[0];
    EXPECT_EQ(
        toHex(record.data),
        "555afff7000c0000000001000000400000004000000034f12719c6eb4b8e03e3e2237cda2a971b8386238c318582a38340b6"
        "877d14f97adb5fbf0f3fcd47e614a7a3cd9bf131830a89009945f65ce30dfbbbaad1e860");
    EXPECT_EQ(record.synID, 1);
    EXPECT_EQ(std::get<std::string>(record.delegate), "EntrustNotify");
    ASSERT_TRUE(record.reqParams);
    EXPECT_TRUE(record.reqParams->same(params));
    EXPECT_EQ(
        toHex(codec.lastPlainBlock()),
        "2603a84364497045fa514d8557cf66bf00000000001c0000001c000000383d51564e312e300132313030343d313131303401"
        "313032383d390100000000000000");
}

TEST(TradeNetCodec, BlocksAreFilledWithZerosToWholeSixteenBytes) {
    struct Case {
        size_t textLength;
        size_t blockLength;
    } cases[] = {{0, 32}, {3, 32}, {4, 48}, {19, 48}, {20, 64}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.textLength);
        RecordingCodec codec;
        std::string text(c.textLength, 'x');
        codec.requestCBase({}, text);
        const TradeRequestRecord &record = codec.records.back();
        EXPECT_FALSE(record.reqParams);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(record.delegate));
        CommPackInfo header = CommPackInfo::read(record.data.bytes());
        EXPECT_EQ(header.packtype, kTradePackC);
        EXPECT_EQ(size_t(header.datalen), c.blockLength);
        EXPECT_EQ(header.rawLength, header.datalen);
        base::Data block = codec.lastPlainBlock();
        ASSERT_EQ(block.length(), c.blockLength);
        EXPECT_EQ(readInt32LE(block.bytes() + 21), int32_t(c.textLength));
        EXPECT_EQ(readInt32LE(block.bytes() + 25), int32_t(c.textLength));
        EXPECT_EQ(block.subdata(29, c.textLength).toString(), text);
        EXPECT_TRUE(allZero(block.bytes() + 29 + c.textLength, c.blockLength - 29 - c.textLength));
        uint8_t digest[16];
        md5(block.bytes() + 16, block.length() - 16, digest);
        EXPECT_EQ(toHex(digest, 16), toHex(block.bytes(), 16));
    }
}

TEST(TradeNetCodec, FPacketCarriesTheTextUnchanged) {
    RecordingCodec codec;
    codec.requestFBase(std::string("Reg"), "8=QVN1.0\x01");
    CommPackInfo header = CommPackInfo::read(codec.records[0].data.bytes());
    EXPECT_EQ(header.packtype, kTradePackF);
    EXPECT_EQ(header.compressed, 0);
    EXPECT_EQ(payloadOf(codec.records[0]).toString(), "8=QVN1.0\x01");
    EXPECT_EQ(codec.m_dseq, -1);
}

TEST(TradeNetCodec, RequestNumberWrapsToOneAndIsCoveredByTheChecksum) {
    RecordingCodec codec;
    codec.m_synID = 2147483644;
    codec.m_cookie = 77;
    for (int i = 0; i < 3; ++i)
        codec.requestFBase({}, "x");
    std::vector<int32_t> ids;
    for (const auto &record : codec.records) {
        ids.push_back(record.synID);
        CommPackInfo header = CommPackInfo::read(record.data.bytes());
        EXPECT_EQ(header.synID, record.synID);
        EXPECT_EQ(header.cookie, 77);
        EXPECT_EQ(uint32_t(header.checksum), crc32_crypto(record.data.bytes() + 4, record.data.length() - 4));
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{2147483645, 1, 2}));
}

TEST(TradeNetCodec, PhoneCheckRequestLayout) {
    struct Case {
        const char *name;
        std::string broker;
        std::string mobile;
        std::string expectedName; // the 20 name bytes as sent, without their zero fill
        std::string keyPart;      // the first bytes of the key part
    } cases[] = {
        {"plain broker, 11-digit mobile", "国泰君安", "13800138000", "国泰君安", ""},
        {"test broker travels by its short name", "zira测试", "13800138000", "zira", ""},
        {"long name cut to 20 bytes", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "1", "ABCDEFGHIJKLMNOPQRST", ""},
        {"24-byte mobile runs into the key part", "b", "138001380001234567890ABC", "b", "0ABC"},
        {"36-byte mobile fills the key part", "b", std::string(20, '1') + "0123456789abcdef", "b",
         "0123456789abcdef"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCodec codec;
        ASSERT_TRUE(codec.requestD(std::string("Phone"), c.broker, c.mobile, "123456"));
        ASSERT_EQ(codec.records.size(), 1u);
        CommPackInfo header = CommPackInfo::read(codec.records[0].data.bytes());
        EXPECT_EQ(header.packtype, kTradePackD);
        EXPECT_FALSE(codec.records[0].reqParams);
        base::Data request = payloadOf(codec.records[0]);
        ASSERT_EQ(request.length(), 64u);
        std::string name = request.subdata(0, 20).toString();
        EXPECT_EQ(name.substr(0, c.expectedName.size()), c.expectedName);
        EXPECT_TRUE(allZero(request.bytes() + c.expectedName.size(), 24 - c.expectedName.size()));
        size_t mobileInField = std::min<size_t>(c.mobile.size(), 20);
        EXPECT_EQ(request.subdata(24, mobileInField).toString(), c.mobile.substr(0, mobileInField));
        EXPECT_TRUE(allZero(request.bytes() + 24 + mobileInField, 20 - mobileInField));
        EXPECT_EQ(request.subdata(44, c.keyPart.size()).toString(), c.keyPart);
        EXPECT_TRUE(allZero(request.bytes() + 44 + c.keyPart.size(), 20 - c.keyPart.size()));
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(codec.m_rs), c.keyPart.size()), c.keyPart);
        EXPECT_EQ(codec.phoneNum(), c.mobile);
        EXPECT_STREQ(reinterpret_cast<const char *>(codec.m_pws), "123456");
    }
}

TEST(TradeNetCodec, PhoneCheckRefusesOverlongMobileAndCheckCode) {
    RecordingCodec codec;
    EXPECT_FALSE(codec.requestD({}, "b", std::string(37, '1'), "1"));
    EXPECT_FALSE(codec.requestD({}, "b", "1", std::string(100, '9')));
    EXPECT_TRUE(codec.records.empty());
    EXPECT_EQ(codec.m_synID, 0);
    EXPECT_TRUE(codec.requestD({}, "b", "1", std::string(99, '9')));
}

struct PhoneCheckCase {
    const char *name;
    std::string mobile;
    std::string code;     // the check code the user typed
    std::string gateCode; // the check code the gateway knows
};

TEST(TradeNetCodec, AcceptedPhoneCheckDerivesTheSessionKey) {
    // Keys computed with the openssl command line: MD5(nonce, "123456", key part).
    PhoneCheckCase cases[] = {
        {"11-digit mobile, zero key part", "13800138000", "123456", "a37efbd143e7c04df036f063f7a32485"},
        {"24-byte mobile, its last four bytes in the key", "138001380001234567890ABC", "123456",
         "17d6b49e127fb84f5aa50546bedd67e7"},
    };
    for (const PhoneCheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCodec codec;
        ASSERT_TRUE(codec.requestD({}, "b", c.mobile, c.code));
        base::Data key = fromHex(c.gateCode);
        int type = codec.open(replyFrame(kTradePackD, acceptReply(kNonce, key.bytes(), 5), 1, 4242));
        EXPECT_EQ(type, -100);
        EXPECT_TRUE(codec.IO_RspData()->successRsp());
        EXPECT_TRUE(codec.IO_RspData()->dict().empty());
        EXPECT_TRUE(codec.phoneCheckSucceeded());
        EXPECT_EQ(codec.phoneChecksPassed, 1);
        EXPECT_EQ(toHex(codec.m_privatepws, 16), c.gateCode);
        EXPECT_EQ(codec.m_cookie, 4242);
        EXPECT_EQ(codec.m_dseq, 5);
        // The key inputs are no longer kept once the key is set.
        EXPECT_TRUE(allZero(codec.m_pws, sizeof codec.m_pws));
        EXPECT_TRUE(allZero(codec.m_rs, sizeof codec.m_rs));

        codec.requestCBase({}, "x");
        CommPackInfo header = CommPackInfo::read(codec.records.back().data.bytes());
        EXPECT_EQ(header.cookie, 4242);
        EXPECT_EQ(readInt32LE(codec.lastPlainBlock().bytes() + 16), 6);
    }
}

TEST(TradeNetCodec, CRequestBeforeAnyPhoneCheckCarriesSequenceZeroUnderTheZeroKey) {
    RecordingCodec codec;
    codec.requestCBase({}, "x");
    EXPECT_TRUE(allZero(codec.m_privatepws, 16));
    EXPECT_EQ(readInt32LE(codec.lastPlainBlock().bytes() + 16), 0);
}

TEST(TradeNetCodec, FailedPhoneChecksClearTheKey) {
    uint8_t wrongKey[16] = {9};
    struct Case {
        const char *name;
        base::Data reply;
        std::string errCode;
        std::string errMsg;
    } cases[] = {
        {"check code differs from the gateway's", acceptReply(kNonce, wrongKey, 5), "-1", "密钥验证失败"},
        {"refused with a reason", refuseReply("手机号码未注册"), "-2", "手机号码未注册"},
        {"refused without a terminator", refuseReply("abc").subdata(0, 40), "-2", "abc"},
        {"refused with a reason that is not UTF-8", refuseReply("\xff\xfe"), "-2", ""},
        {"refused, too short for a reason", base::Data(std::vector<uint8_t>(10, 0)), "-2", ""},
        {"accepted but too short for the key", acceptReply(kNonce, wrongKey, 5).subdata(0, 36), "-1",
         "密钥验证失败"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCodec codec;
        std::memset(codec.m_privatepws, 0x5A, 16);
        ASSERT_TRUE(codec.requestD({}, "b", "13800138000", "123456"));
        EXPECT_EQ(codec.open(replyFrame(kTradePackD, c.reply, 1, 9)), -100);
        EXPECT_FALSE(codec.IO_RspData()->successRsp());
        EXPECT_EQ(codec.IO_RspData()->dict().get("ErrCode").stringValue(), c.errCode);
        EXPECT_EQ(codec.IO_RspData()->getRspErrMsg(), c.errMsg);
        EXPECT_FALSE(codec.phoneCheckSucceeded());
        EXPECT_EQ(codec.phoneChecksPassed, 0);
        EXPECT_TRUE(allZero(codec.m_privatepws, 16));
        EXPECT_EQ(codec.m_cookie, 9);
    }
}

TEST(TradeNetCodec, OpensEncipheredRepliesAndDropsDamagedOnes) {
    // A reply under the key of the phone-check test, computed with the openssl command line.
    const std::string replyHex = "3b6d795b2b79996b3c6fe5691fb6a2b93dd8d10ef75c744daa8a42348825d47c6ea6d582020"
                                 "c4c2c820d05d47011b81f650312bf"
                                 "0c13a17c4b4c53dfc7f2145ceb6ffb10d7fb8c175435fc26cba94290";
    base::Data key = fromHex("a37efbd143e7c04df036f063f7a32485");
    const std::string text = "21004=11105\x01"
                             "21000=0\x01"
                             "21002=\x01"
                             "1078=100.00\x01"
                             "21003=\x01";
    ASSERT_EQ(toHex(sealBlock(text, key.bytes(), 7)), replyHex);

    base::Data flipped = fromHex(replyHex);
    flipped.mutableBytes()[40] ^= 1;
    auto withLengths = [&](int32_t textLength, int32_t storedLength, bool compress = false) {
        std::vector<uint8_t> block(48, 0);
        block[20] = compress ? 1 : 0;
        writeInt32LE(block.data() + 21, textLength);
        writeInt32LE(block.data() + 25, storedLength);
        std::memcpy(block.data() + 29, "21004=11105\x01", 12);
        md5(block.data() + 16, 32, block.data());
        enc_aes(block.data(), 48, key.bytes(), 16, block.data());
        return base::Data(block.data(), 48);
    };
    struct Case {
        const char *name;
        base::Data block;
        int type;
        bool success;
        bool hasRow;
    } cases[] = {
        {"valid block", fromHex(replyHex), 11104, true, true},
        {"compressed text", sealBlock(text, key.bytes(), 7, true), 11104, true, true},
        {"text length differing from the stored one", withLengths(12, 19), 0, false, false},
        {"wrong digest", flipped, 0, false, false},
        {"not whole blocks", fromHex(replyHex).subdata(0, 70), 0, false, false},
        {"shorter than two blocks", sealBlock("", key.bytes(), 7).subdata(0, 16), 0, false, false},
        {"stored length beyond the block", withLengths(12, 20), 0, false, false},
        {"text length beyond the stored text", withLengths(13, 12), 0, false, false},
        {"negative stored length", withLengths(12, -1), 0, false, false},
        {"negative text length", withLengths(-1, 12), 0, false, false},
        {"text that does not inflate", withLengths(12, 12, true), 0, false, false},
        {"inflated size above the cap", withLengths(kTradeMaxLength + 1, 12, true), 0, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCodec codec;
        std::memcpy(codec.m_privatepws, key.bytes(), 16);
        EXPECT_EQ(codec.open(replyFrame(kTradePackC, c.block, 2)), c.type);
        EXPECT_EQ(codec.IO_RspData()->successRsp(), c.success);
        EXPECT_EQ(codec.IO_RspData()->dict().get("FuncID").stringValue(), c.success ? "11105" : "");
        EXPECT_EQ(codec.IO_RspData()->getRspErrMsg(),
                  c.success ? std::nullopt : std::optional("密钥验证失败"));
        auto row = codec.IO_RspData()->getRspInfoInArray();
        EXPECT_EQ(row.has_value(), c.hasRow);
        if (row) {
            EXPECT_EQ(row->get("1078").stringValue(), "100.00");
        }
    }
}

TEST(TradeNetCodec, UnknownPacketTypeIsNeverASuccess) {
    RecordingCodec codec;
    codec.IO_RspData()->dict().set("FuncID", "11105");
    EXPECT_EQ(codec.open(replyFrame(14, base::Data::fromString("21004=11105\x01"), 1)), 0);
    EXPECT_FALSE(codec.IO_RspData()->successRsp());
    EXPECT_TRUE(codec.IO_RspData()->dict().empty());
    EXPECT_TRUE(codec.succeeded.empty());
}

TEST(TradeNetCodec, ClearingStartsANewSessionButKeepsTheRequestNumber) {
    RecordingCodec codec;
    ASSERT_TRUE(codec.requestD({}, "b", "13800138000", "123456"));
    base::Data key = fromHex("a37efbd143e7c04df036f063f7a32485");
    codec.open(replyFrame(kTradePackD, acceptReply(kNonce, key.bytes(), 5), 1, 8));
    ASSERT_TRUE(codec.phoneCheckSucceeded());
    codec.clearCodecParams();
    EXPECT_FALSE(codec.phoneCheckSucceeded());
    EXPECT_EQ(codec.m_cookie, 0);
    EXPECT_EQ(codec.m_dseq, -1);
    EXPECT_TRUE(allZero(codec.m_privatepws, 16));
    EXPECT_EQ(codec.m_synID, 1);
}

} // namespace
