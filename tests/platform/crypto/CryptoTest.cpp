#include "crypto/Crypto.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

namespace {

std::string hex(const base::Data &d) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : d.vector()) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Known answers produced with the openssl command line.
TEST(Crypto, Md5KnownAnswers) {
    EXPECT_EQ(crypto::md5Hex("", 0), "D41D8CD98F00B204E9800998ECF8427E");
    std::string fox = "The quick brown fox";
    EXPECT_EQ(hex(crypto::md5(fox.data(), fox.size())), "a2004f37730b9445670a738fa0fc9ee5");
}

TEST(Crypto, Crc32KnownAnswer) {
    EXPECT_EQ(crypto::crc32("123456789", 9), 0xcbf43926u);
}

TEST(Crypto, AesCbcWithZeroIvMatchesOpenssl) {
    auto key = base::Data::fromString("01234567890123456789012345678901");
    auto plain = base::Data::fromString("hello world, 20 bytes!");
    auto cipher = crypto::aesCbcPkcs7(true, key, nullptr, plain);
    ASSERT_TRUE(cipher);
    EXPECT_EQ(hex(*cipher), "56fee6668dfe1a66bfe938e08292bebd858dcd0c5f2ecbf81d537a494a721a52");
    auto back = crypto::aesCbcPkcs7(false, key, nullptr, *cipher);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, plain);
}

TEST(Crypto, AesCbcFailuresGiveNothing) {
    auto key = base::Data::fromString("01234567890123456789012345678901");
    EXPECT_FALSE(crypto::aesCbcPkcs7(true, base::Data::fromString("short"), nullptr, key));
    // A cipher text that is not whole blocks, and one whose padding is wrong under another key.
    EXPECT_FALSE(crypto::aesCbcPkcs7(false, key, nullptr, base::Data::fromString("abc")));
    auto cipher = crypto::aesCbcPkcs7(true, key, nullptr, base::Data::fromString("secret"));
    auto other = base::Data::fromString("10234567890123456789012345678901");
    EXPECT_FALSE(crypto::aesCbcPkcs7(false, other, nullptr, *cipher));
}

TEST(Crypto, AesEcbWholeBlocksOnly) {
    const uint8_t key[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    auto plain = base::Data::fromString("0123456789abcdef0123456789abcdef");
    auto cipher = crypto::aesEcb128(true, key, plain);
    ASSERT_TRUE(cipher);
    EXPECT_EQ(hex(*cipher), "281567ab2f4cf0d73d3198225b8b8393281567ab2f4cf0d73d3198225b8b8393");
    EXPECT_EQ(*crypto::aesEcb128(false, key, *cipher), plain);
    EXPECT_FALSE(crypto::aesEcb128(true, key, base::Data::fromString("not sixteen")));
}

} // namespace

namespace {

TEST(Crypto, UncompressStopsAtItsLimit) {
    std::string text(1000, 'q');
    uLongf packedLength = compressBound(uLong(text.size()));
    std::vector<uint8_t> packed(packedLength);
    ASSERT_EQ(compress(packed.data(), &packedLength, reinterpret_cast<const Bytef *>(text.data()),
                       uLong(text.size())),
              Z_OK);

    auto exact = crypto::uncompress(packed.data(), packedLength, 1000);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->toString(), text);
    EXPECT_EQ(crypto::uncompress(packed.data(), packedLength, 4096)->length(), 1000u);
    EXPECT_FALSE(crypto::uncompress(packed.data(), packedLength, 999));
    EXPECT_FALSE(crypto::uncompress(packed.data(), packedLength - 1, 1000));
    EXPECT_FALSE(crypto::uncompress("not zlib", 8, 1000));
}

} // namespace

namespace {

// A gzip member made by zlib itself, as a server sends it.
std::vector<uint8_t> gzipped(const std::string &text) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, uLong(text.size())) + 32);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    z.avail_in = uInt(text.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(Crypto, GunzipTakesGzipAndRefusesDamageAndExcess) {
    std::string text(100000, 'g');
    auto packed = gzipped(text);
    auto whole = crypto::gunzip(packed.data(), packed.size(), text.size());
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->toString(), text);
    EXPECT_FALSE(crypto::gunzip(packed.data(), packed.size(), text.size() - 1));
    EXPECT_FALSE(crypto::gunzip(packed.data(), packed.size() - 10, text.size()));
    EXPECT_FALSE(crypto::gunzip("plain text", 10, 100));
}

} // namespace
