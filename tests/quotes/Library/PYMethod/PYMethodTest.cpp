#include "PYMethod.h"
#include "PYTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PYMethod, InitialsOfText) {
    struct Case {
        const char *text;
        const char *initials;
    } cases[] = {
        {"", ""},
        {"ab c*1", "ABC1"},
        {"600000", "600000"},
        {"中国", "ZG"},
        {"银行", "YH"},
        {"长江", "CJ"},
        {"佛", "F"},
        {"西藏", "XZ"},
        {"西藏自治区", "XZZZQ"},
        {"重庆", "CQ"},
        {"重庆啤酒", "CQPJ"},
        {"重要", "ZY"},
        {"宝藏", "BC"},
        {"音乐", "YL"},
        {"首都", "SD"},
        {"中国平安A", "ZGPAA"},
        {"、。", "  "},
        {"给力", "GL"},
        {"髟", "B"},
        {"傀儡", "KL"}, // the customary reading where a rarer one came first
        {"脊椎", "JZ"},
        {"中，国", "Z,G"},
        {"ａＢ１", "aB1"},
        {"⑿中", "12Z"},
        {"ⅰⅫ㈩①", "112101"},
        {"Ā😀", "0896"}, // four-byte characters: their digit bytes remain
    };
    for (const auto &c : cases)
        EXPECT_EQ(PYMethod::getPinYin(c.text), c.initials) << c.text;
}

TEST(PYMethod, NotUtf8GivesNothing) {
    EXPECT_EQ(PYMethod::getPinYin("\xE4\xB8"), "");
}

// Bytes that can only come from damaged text: none may read outside the table or leave the
// result without valid text.
TEST(PYMethod, StrayBytesAreDropped) {
    struct Case {
        std::string bytes;
        const char *initials;
    } cases[] = {
        {"\xFF\xB0\xA1", "A"},         // 0xFF never leads a character
        {"\xB0\xFF", ""},              // nor is it a trail byte
        {"\xFE\xFF\xFE\xFE", " "},     // the last row, with and without a trail byte past it
        {"\x80\x41", "A"},             // 0x80 leads nothing either
        {"\xB0", ""},                  // a lead byte at the end
        {"\xA2\x50", " "},             // numbered-symbol row below its symbols
        {"\xA3\x50\xA3\x90", "  "},    // full-width row below its forms
        {std::string("A\0B", 3), "A"}, // text ends at a zero byte
    };
    for (const auto &c : cases)
        EXPECT_EQ(PYMethod::getPinYinOfGB18030(c.bytes), c.initials);
}

TEST(PYMethod, EveryCommonHanziHasAnInitial) {
    int withInitial = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            char bytes[] = {char(lead), char(trail), 0};
            std::string initial = PYMethod::getPinYinOfGB18030(bytes);
            ASSERT_EQ(initial.size(), 1u);
            if (initial[0] >= 'A' && initial[0] <= 'Z')
                ++withInitial;
            else
                EXPECT_EQ(initial, " ") << std::hex << lead << trail;
        }
    // GB2312 has 6,763 hanzi
    EXPECT_EQ(withInitial, 6763);
}

TEST(PYMethod, TableIsWellFormed) {
    for (int i = 0; i < PYCodeCount; ++i) {
        ASSERT_NE(PYCode[i][0], '\0');
        for (const char *p = PYCode[i]; *p; ++p)
            EXPECT_TRUE(*p >= 'A' && *p <= 'Z') << PYCode[i];
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            int32_t n = PYCodeIndex[(lead - 0x81) * PYTrailCount + (trail - 0x40)];
            ASSERT_TRUE(n >= 0 && n <= PYCodeCount);
            if (trail == 0x7F || (lead >= 0xA1 && lead <= 0xA9)) {
                EXPECT_EQ(n, 0) << std::hex << lead << trail;
            }
        }
}

} // namespace
