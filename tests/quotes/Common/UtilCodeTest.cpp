#include "Common/Util.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(UtilCode, CodeParts) {
    struct Case {
        const char *code;
        const char *market;
        const char *num;
        const char *last2;
    } cases[] = {
        {"", "", "", ""},
        {"S", "", "", ""},
        {"SH", "SH", "", ""},
        {"SH6", "SH", "6", "H6"},
        {"SH600000", "SH", "600000", "00"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Util::getMarketCode(c.code), c.market) << c.code;
        EXPECT_EQ(Util::getNumCode(c.code), c.num) << c.code;
        EXPECT_EQ(Util::getNumCodeLast2(c.code), c.last2) << c.code;
    }
}

TEST(UtilCode, MarketsAndTypes) {
    EXPECT_TRUE(Util::isSHSZCode(std::nullopt));
    EXPECT_TRUE(Util::isSHSZCode("SH600000"));
    EXPECT_TRUE(Util::isSHSZCode("SZ000001"));
    EXPECT_FALSE(Util::isSHSZCode("HKHSI"));
    EXPECT_FALSE(Util::isSHSZCode(""));

    EXPECT_TRUE(Util::belongToMarket("HK", "HK00700"));
    EXPECT_FALSE(Util::belongToMarket("HK", "SH600000"));
    EXPECT_FALSE(Util::belongToMarket("HK", std::nullopt));
    EXPECT_FALSE(Util::belongToMarket("", std::nullopt));

    for (int type : {0, 1, 6, 9})
        EXPECT_FALSE(Util::isQHType(type)) << type;
    EXPECT_TRUE(Util::isQHType(7));
    EXPECT_TRUE(Util::isQHType(8));
}

TEST(UtilCode, StringsAndCollections) {
    EXPECT_TRUE(Util::isEmptyStr(""));
    EXPECT_FALSE(Util::isEmptyStr(" "));
    EXPECT_TRUE(Util::isSameStr("", ""));
    EXPECT_TRUE(Util::isSameStr("600000", "600000"));
    EXPECT_FALSE(Util::isSameStr("", "a"));
    EXPECT_FALSE(Util::isSameStr("a", "A"));
    EXPECT_EQ(Util::getNotNilStr(std::nullopt), "");
    EXPECT_EQ(Util::getNotNilStr("x"), "x");

    base::Dict row{{"1036", "SH600000"}, {"1181", 12.5}};
    EXPECT_EQ(Util::objectForKey("1036", row), base::Value("SH600000"));
    EXPECT_EQ(Util::objectForKey("1181", row), base::Value(12.5));
    EXPECT_EQ(Util::objectForKey("1037", row), base::Value(""));

    base::Array codes{"SH600000", 600000, "SZ000001"};
    EXPECT_TRUE(Util::strInArray("SZ000001", codes));
    EXPECT_FALSE(Util::strInArray("600000", codes));
    EXPECT_FALSE(Util::strInArray(std::nullopt, codes));
    EXPECT_FALSE(Util::strInArray("", base::Array{}));
}

TEST(UtilCode, AxisMapping) {
    struct Case {
        float got, want;
    } cases[] = {
        {Util::mappingAsixYValue(10, 0, 5, 0, 100), 50},
        {Util::mappingAsixYValue(10, 0, 12, 0, 100), 0},
        {Util::mappingAsixYValue(10, 0, -1, 0, 100), 100},
        {Util::mappingAsixYValue(5, 5, 5, 0, 100), 100},
        {Util::mappingAsixYValue(20, 10, 12.5f, 40, 80), 70},
        {Util::mappingValueByAsixY(10, 0, 50, 0, 100), 5},
        {Util::mappingValueByAsixY(10, 0, 70, 40, 80), 2.5f},
        {Util::mappingValueByAsixY(10, 0, 120, 0, 100), 0},
        {Util::mappingValueByAsixY(10, 0, -5, 0, 100), 10},
        {Util::mappingValueByAsixY(10, 0, 30, 30, 30), 0},
        {Util::mappingAsixXValue(10, 0, 5, 20, 120), 70},
        {Util::mappingAsixXValue(10, 0, -1, 20, 120), 20},
        {Util::mappingAsixXValue(10, 0, 11, 20, 120), 120},
        {Util::mappingAsixXValue(3, 3, 3, 20, 120), 20},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FLOAT_EQ(cases[i].got, cases[i].want) << "row " << i;
}

} // namespace
