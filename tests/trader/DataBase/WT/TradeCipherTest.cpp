#include "TradeTestFrames.h"

#include "DataBase/WT/TradeCipher.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tradetest;

namespace {

const uint8_t kKey[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// Expected values below were computed with the openssl command line.
TEST(TradeCipher, AesEcbMatchesOpenssl) {
    base::Data plain = fromHex("00112233445566778899aabbccddeeff");
    uint8_t out[16];
    ASSERT_EQ(enc_aes(plain.bytes(), 16, kKey, 16, out), 16u);
    EXPECT_EQ(toHex(out, 16), "69c4e0d86a7b0430d8cdb78070b4c55a");
    ASSERT_EQ(dec_aes(out, 16, kKey, 16, out), 16u);
    EXPECT_EQ(toHex(out, 16), "00112233445566778899aabbccddeeff");
}

TEST(TradeCipher, AesRefusesPartialBlocksAndOtherKeySizesWithoutTouchingOutput) {
    uint8_t in[32] = {}, out[32];
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(enc_aes(in, 17, kKey, 16, out), 0u);
    EXPECT_EQ(dec_aes(in, 15, kKey, 16, out), 0u);
    EXPECT_EQ(enc_aes(in, 16, kKey, 32, out), 0u);
    for (uint8_t b : out)
        ASSERT_EQ(b, 0xAA);
}

TEST(TradeCipher, Md5AndCrcMatchPublishedValues) {
    uint8_t digest[16];
    md5(reinterpret_cast<const uint8_t *>("abc"), 3, digest);
    EXPECT_EQ(toHex(digest, 16), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(crc32_crypto(reinterpret_cast<const uint8_t *>("123456789"), 9), 0xCBF43926u);
}

} // namespace
