#include "EncryptorAES.h"
#include "Base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using base::Data;

// Known answers made with the openssl command line, key = the key string zero-filled to 32
// bytes, zero vector:
//   printf '%s' "$TEXT" | openssl enc -aes-256-cbc -K <key hex> -iv 00000000000000000000000000000000 -nosalt
//   -base64
TEST(EncryptorAES, LoginTextsMatchKnownAnswers) {
    struct Case {
        const char *plain;
        const char *cipher;
    } cases[] = {
        {"", "nZTud9DXtnNqm9XA9y0/iw=="},
        {"admin", "LicHJQtbo4JyVA0b8bHusg=="},
        {"13800138000", "n1tvtSvc44Ki5VinqyNHWg=="},
        {"密码123", "hVeAGzwj6m8hrXK/ZRwugA=="},
        {"abcdefghijklmnop", "LRt121mcW7UcAh7QEPtm0+O6JX2DHbzr3s4lbAolmJI="},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.plain);
        EXPECT_EQ(EncryptorAES::encryptBase64String(c.plain, EncryptorAES::LoginKeyString, false), c.cipher);
        EXPECT_EQ(EncryptorAES::decryptBase64String(c.cipher, EncryptorAES::LoginKeyString), c.plain);
    }
}

TEST(EncryptorAES, LongTextsBreakIntoLinesThatStillDecipher) {
    const std::string plain = "The quick brown fox jumps over the lazy dog, twice over and again.";
    const std::string lines = "uFWmlASGDU7ZpLFQDl5KgZ7i92Y1iNC/Q5PMmeaj76Jbstym23p1mp8LVQFQDnuX\r\n"
                              "mZvkqaiPe50thO3bHwPxoDIVD0sWS2TT4PG5ADqRrpg=";
    EXPECT_EQ(EncryptorAES::encryptBase64String(plain, EncryptorAES::LoginKeyString, true), lines);
    EXPECT_EQ(EncryptorAES::decryptBase64String(lines, EncryptorAES::LoginKeyString), plain);
}

TEST(EncryptorAES, KeysAndVectorsAreCutOrZeroFilled) {
    const Data text = Data::fromString("admin");
    const Data key32 = Data::fromString("0123456789abcdef0123456789abcdef");
    const Data longKey = Data::fromString("0123456789abcdef0123456789abcdefEXTRA");
    EXPECT_EQ(EncryptorAES::encryptData(text, longKey), EncryptorAES::encryptData(text, key32));
    EXPECT_EQ(EncryptorAES::encryptBase64String("admin", std::string("WbK53mt_ZP814QC\0\0", 17), false),
              "LicHJQtbo4JyVA0b8bHusg==");

    // openssl ... -K <key32 hex> -iv <"0123456789abcdef" hex>, and -iv <"abc" hex, zero-filled>
    const Data longIv = Data::fromString("0123456789abcdefGHIJ");
    const Data shortIv = Data::fromString("abc");
    EXPECT_EQ(
        Base64::base64EncodedStringWithSeparateLines(*EncryptorAES::encryptData(text, key32, &longIv), false),
        "L5TZaMmoE4jizy0yz6vvXA==");
    EXPECT_EQ(Base64::base64EncodedStringWithSeparateLines(*EncryptorAES::encryptData(text, key32, &shortIv),
                                                           false),
              "DmNNG4AIF5aibZisCDZwLw==");
    EXPECT_EQ(EncryptorAES::decryptData(*EncryptorAES::encryptData(text, key32, &shortIv), key32, &shortIv),
              text);
}

TEST(EncryptorAES, FailuresGiveNothing) {
    const auto key = EncryptorAES::LoginKeyString;
    EXPECT_EQ(EncryptorAES::decryptBase64String("LicHJQtbo4JyVA0b8bHusg==", "another key"), std::nullopt);
    EXPECT_EQ(EncryptorAES::decryptBase64String("LicHJQtbo4JyVA0b8bHu", key), std::nullopt);
    EXPECT_EQ(EncryptorAES::decryptBase64String("", key), std::nullopt);
    EXPECT_EQ(EncryptorAES::decryptBase64String("LicHJQtbo4JyVA0b8bHusg==中", key), std::nullopt);

    const Data notUtf8 = Data::fromString("\xff\xfe name");
    auto cipher = EncryptorAES::encryptData(notUtf8, Data::fromString(key));
    ASSERT_TRUE(cipher);
    const std::string text = Base64::base64EncodedStringWithSeparateLines(*cipher, false);
    EXPECT_EQ(EncryptorAES::decryptData(*cipher, Data::fromString(key)), notUtf8);
    EXPECT_EQ(EncryptorAES::decryptBase64String(text, key), std::nullopt);
}

TEST(Base64, EncodingInLines) {
    std::string line; // 48 bytes "aaa…" make one full line of 64 characters
    for (int i = 0; i < 16; ++i)
        line += "YWFh";
    struct Case {
        std::string bytes;
        bool lines;
        std::string text;
    } cases[] = {
        {"", true, ""},
        {"a", false, "YQ=="},
        {"ab", false, "YWI="},
        {"abc", false, "YWJj"},
        {std::string(48, 'a'), true, line},
        {std::string(49, 'a'), true, line + "\r\nYQ=="},
        {std::string(96, 'a'), true, line + "\r\n" + line},
        {std::string(49, 'a'), false, line + "YQ=="},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NewBase64Encode(c.bytes.data(), c.bytes.size(), c.lines), c.text) << c.bytes.size();
}

TEST(Base64, DecodingSkipsForeignCharacters) {
    struct Case {
        const char *text;
        std::string bytes;
    } cases[] = {
        {"QUJD", "ABC"},
        {"QUJD\r\n", "ABC"},
        {"QUJD=", "ABC"},
        {"QU JD", "ABC"},
        {"QUI=", "AB"},
        {"QUI", "AB"},
        {"QQ==", "A"},
        {"QQ", "A"},
        {"Q", ""},
        {"!*\r\n ==", ""},
        {"", ""},
        {"QQ==QUI=", std::string("A\x04\x14", 3)},
        {"YWFh\r\nYQ==", "aaaa"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NewBase64Decode(c.text).toString(), c.bytes) << c.text;
    EXPECT_EQ(Base64::dataFromBase64String("QUJD中").length(), 0u);
    EXPECT_EQ(NewBase64Decode("QUJD中").toString(), "ABC");
}

TEST(Base64, RoundTripsEveryRemainder) {
    std::string bytes;
    for (int n = 0; n < 100; ++n) {
        const Data data = Data::fromString(bytes);
        for (bool lines : {false, true}) {
            std::string text = Base64::base64EncodedStringWithSeparateLines(data, lines);
            EXPECT_EQ(Base64::dataFromBase64String(text), data) << n;
        }
        EXPECT_EQ(Base64::base64EncodedStringWithSeparateLines(data, false), data.base64()) << n;
        bytes += char(n * 37 + 11);
    }
}

} // namespace
