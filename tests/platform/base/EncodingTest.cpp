#include "base/Encoding.h"
#include "base/Uuid.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using base::Data;
using base::Encoding;

Data bytes(std::initializer_list<uint8_t> list) {
    return Data(std::vector<uint8_t>(list));
}

TEST(Encoding, EncodesAndDecodesKnownBytes) {
    struct Case {
        const char *text;
        Encoding encoding;
        Data bytes;
    } cases[] = {
        {"中文", Encoding::Gb18030, bytes({0xD6, 0xD0, 0xCE, 0xC4})},
        {"A股", Encoding::Gb18030, bytes({0x41, 0xB9, 0xC9})},
        {"€", Encoding::Gb18030, bytes({0xA2, 0xE3})},
        {"😀", Encoding::Gb18030, bytes({0x94, 0x39, 0xFC, 0x36})},
        {"café", Encoding::Latin1, bytes({'c', 'a', 'f', 0xE9})},
        {"café", Encoding::Utf8, bytes({'c', 'a', 'f', 0xC3, 0xA9})},
        {"abc", Encoding::Ascii, bytes({'a', 'b', 'c'})},
        {"", Encoding::Gb18030, Data()},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(base::encode(c.text, c.encoding), c.bytes) << c.text;
        EXPECT_EQ(base::decode(c.bytes, c.encoding), c.text) << c.text;
    }
}

TEST(Encoding, FailuresAreNothing) {
    std::string invalidUtf8[] = {"\xC3", "ab\xFF", "\xED\xA0\x80", "\xC0\xAF"};
    for (const auto &text : invalidUtf8) {
        for (auto encoding : {Encoding::Utf8, Encoding::Gb18030, Encoding::Latin1})
            EXPECT_FALSE(base::encode(text, encoding)) << text;
        EXPECT_FALSE(base::decode(Data::fromString(text), Encoding::Utf8)) << text;
    }
    EXPECT_FALSE(base::encode("中", Encoding::Latin1));
    EXPECT_FALSE(base::encode("é", Encoding::Ascii));
    EXPECT_FALSE(base::decode(bytes({'a', 0x80}), Encoding::Ascii));
    EXPECT_FALSE(base::decode(bytes({0xD6}), Encoding::Gb18030));
    EXPECT_FALSE(base::decode(bytes({0x81, 0x20}), Encoding::Gb18030));
    EXPECT_EQ(base::decode(bytes({0xFF, 0x80}), Encoding::Latin1), "ÿ\u0080");
}

TEST(Encoding, IanaNames) {
    struct Case {
        const char *name;
        std::optional<Encoding> encoding;
    } cases[] = {
        {"UTF-8", Encoding::Utf8},        {"utf8", Encoding::Utf8},     {" \"utf-8\" ", Encoding::Utf8},
        {"ISO-8859-1", Encoding::Latin1}, {"latin1", Encoding::Latin1}, {"us-ascii", Encoding::Ascii},
        {"GB18030", Encoding::Gb18030},   {"gbk", Encoding::Gb18030},   {"GB2312", Encoding::Gb18030},
        {"koi8-r", std::nullopt},         {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(base::encodingForIanaName(c.name), c.encoding) << c.name;
    for (auto encoding : {Encoding::Ascii, Encoding::Utf8, Encoding::Latin1, Encoding::Gb18030})
        EXPECT_EQ(base::encodingForIanaName(base::ianaName(encoding)), encoding);
}

TEST(Uuid, UpperCaseHexWithHyphensAndUnique) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        std::string id = base::newUuid();
        ASSERT_EQ(id.size(), 36u);
        for (size_t at = 0; at < id.size(); ++at) {
            if (at == 8 || at == 13 || at == 18 || at == 23)
                EXPECT_EQ(id[at], '-') << id;
            else
                EXPECT_TRUE(std::isdigit(id[at]) || (id[at] >= 'A' && id[at] <= 'F')) << id;
        }
        EXPECT_EQ(id[14], '4') << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 100u);
}

} // namespace
