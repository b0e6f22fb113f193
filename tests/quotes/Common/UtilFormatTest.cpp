#include "Common/Util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// A formatter's answer next to the text it must give; the index names a failing row.
struct Row {
    std::string got;
    std::string want;
};

void expectRows(const std::vector<Row> &rows) {
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].got, rows[i].want) << "row " << i;
}

TEST(UtilFormat, TextShaping) {
    expectRows({
        {Util::FormatDStr(0, 7, 2), "--"},
        {Util::FormatDStr(12.3456f, 7, 2), "12.35"},
        {Util::FormatDStr(1234.5678f, 6, 3), "1234.5"},
        {Util::FormatDStr(99999.5f, 5, 2), "99999"},
        {Util::FormatDStr(-3.14159f, 4, 2), "-3.1"},
        {Util::FormatDStr(123456.789f, 4, 2), "123456"},
        {Util::FormatDStr(42, 3, 0), "42"},
        {Util::FormatFloatClip(12345.678f, 7), "12345.6"},
        {Util::FormatFloatClip(3.5f, 4), "3.50"},
        {Util::FormatFloatClip(0, 4), "0.00"},
        {Util::FormatFloatClip(-2.75f, 2), "-2"},
        {Util::FormatFloatClip(123.4f, 4), "123"},
        {Util::FormatFloatWithUnit(123456789, 2), "1.234亿"},
        {Util::FormatFloatWithUnit(2500000, 2), "250.0万"},
        {Util::FormatFloatWithUnit(999999, 2), "999999"},
        {Util::FormatFloatWithUnit(12.5f, 1), "12.5"},
        {Util::FormatFloatWithUnit(-5000000, 0), "-500.0万"},
        {Util::FormatFloatWithUnit(-123456789, 2), "-1.234亿"},
        {Util::FormatFloatWithUnit(-999999, 2), "-999999"},
        {Util::FormatFloatWithUnit(-1.5f, 3), "-1.500"},
        {Util::FormatSerialNumberVertical(7), "7\n"},
        {Util::FormatSerialNumberVertical(12), "1\n2\n"},
        {Util::FormatSerialNumberVertical(123), "1\n2\n3\n"},
    });
}

TEST(UtilFormat, ItoaWritesSignedDecimal) {
    struct Case {
        int value;
        const char *text;
    } cases[] = {{0, "0"}, {7, "7"}, {-45, "-45"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto &c : cases) {
        char buffer[12];
        Util::itoa(c.value, buffer);
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST(UtilFormat, PricesAndChanges) {
    expectRows({
        {Util::FormatPrice(0, 2), "--"},
        {Util::FormatPrice(1234, 2), "12.34"},
        {Util::FormatPrice(1234.0f, 3, 2), "1.23"},
        // the power of ten is a double: 0.005 rounds up, as it would not in single precision
        {Util::FormatPrice(5.0f, 3, 2), "0.01"},
        {Util::FormatPrice(16777217, 0), "16777216"},
        {Util::FormatZDString(1050, 1000, 2), "0.50"},
        {Util::FormatZDString(950, 1000, 2), "-0.50"},
        {Util::FormatZDString(1000, 1000, 2), "0.00"},
        {Util::FormatZDString(0, 1000, 2), "--"},
        {Util::FormatZDString(-5, 1000, 2), "--"},
        {Util::FormatZDString(INT_MAX, INT_MIN, 0), "4294967296"},
        {Util::FormatZAFString(1100, 1000, true), "+10.00%"},
        {Util::FormatZAFString(900, 1000, true), "-10.00%"},
        {Util::FormatZAFString(1100, 1000, false), "+10.00"},
        {Util::FormatZAFString(900, 1000, false), "-10.00"},
        {Util::FormatZAFString(1000, 1000, true), "0.00%"},
        {Util::FormatZAFString(1000, 1000, false), "0.00%"},
        {Util::FormatZAFString(1000, 0, true), "--"},
        {Util::FormatZAFString(0, 1000, true), "--"},
        // the ratio is single precision: a double would give 14.37
        {Util::FormatZAFString(183, 160, true), "+14.38%"},
        {Util::FormatZEFString(1000, 1100, true), "10.00%"},
        {Util::FormatZEFString(1000, 900, false), "10.00"},
        {Util::FormatZEFString(1000, 0, true), "--"},
        {Util::FormatZEFString(0, 1100, true), "--"},
        {Util::FormatRange(1100, 1000, 1), "10.0%"},
        {Util::FormatRange(900, 1000, 2), "-10.00%"},
        {Util::FormatRange(900, 0, 2), "--"},
    });
}

TEST(UtilFormat, PercentagesAndRatios) {
    expectRows({
        {Util::FormatPer(1.234567f, true), "123.46%"},
        {Util::FormatPer(12.34567f, true), "1234.57%"},
        {Util::FormatPer(123.4567f, true), "12345.6%"},
        {Util::FormatPer(0.5f, false), "50.00"},
        {Util::FormatPer(0, true), "--"},
        {Util::FormatPercent(0.12345f, 1), "12.3%"},
        {Util::FormatPercent(0.12345f, 2, false), "12.35"},
        {Util::FormatPercent(0, 2), "--"},
        {Util::FormatDivisionRate(1, 3, true), "0.33%"},
        {Util::FormatDivisionRate(150, 100, false), "1.50"},
        {Util::FormatDivisionRate(1, 0, true), "--"},
        {Util::FormatDivisionRate(2, 3, false, 3), "0.667"},
        {Util::FormatDivisionValue(2, 3, 1), "0.7"},
        {Util::FormatDivisionValue(2, 0, 1), "--"},
        {Util::getDDXString(12345), "12.345"},
        {Util::getDDXString(-1234567), "-1234.56"},
        {Util::getDDXString(0), "--"},
        {Util::FormatFloat(0, 2), "0.00"},
        {Util::FormatFloat(2.5f, 0), "2"},
        {Util::FormatIntValue(0), "--"},
        {Util::FormatIntValue(-12), "-12"},
        {Util::FormatIntValue(3, "股"), "3股"},
        {Util::FormatIntValue(0, "股"), "--"},
    });
}

TEST(UtilFormat, VolumesAmountsAndMarketValues) {
    expectRows({
        {Util::FormatVolume(9999, 5, 2), "9999"},
        {Util::FormatVolume(10000, 5, 2), "1.00万"},
        {Util::FormatVolume(123456789, 6, 2), "1.23亿"},
        // 99,999,999 is 10^8 in single precision
        {Util::FormatVolume(99999999, 5, 2), "10000万"},
        {Util::FormatVolume(-5, 5, 2), "-5"},
        {Util::FormatVolume(0, 5, 2), "--"},
        {Util::FormatVolumeByLength(9999, 5), "9999"},
        {Util::FormatVolumeByLength(123456, 5), "12.34万"},
        {Util::FormatVolumeByLength(1234567890, 4), "12.3亿"},
        {Util::FormatVolumeByLength(0, 5), "--"},
        {Util::FormatVolume(0, 2), "--"},
        {Util::FormatVolume(-5, 2), "--"},
        {Util::FormatVolume(9999, 2), "9999"},
        {Util::FormatVolume(10000, 2), "1.00万"},
        // single precision: a double quotient would print 1.06
        {Util::FormatVolume(10650, 2), "1.07万"},
        {Util::FormatVolume(100000000, 1), "1.0亿"},
        {Util::FormatBuySellPanVolume(12345, "HK00700", 1), "12.3K"},
        {Util::FormatBuySellPanVolume(1234567, "HK00700", 1), "1.2M"},
        {Util::FormatBuySellPanVolume(9999, "HK00700", 1), "9999"},
        {Util::FormatBuySellPanVolume(12345, "SH600000", 1), "12345"},
        {Util::FormatBuySellPanVolume(0, "HK00700", 1), "--"},
        {Util::FormatFundSharesByLength(5000, 6), "5000.0万"},
        {Util::FormatFundSharesByLength(123456, 5), "12.34亿"},
        {Util::FormatFundSharesByLength(0, 5), "--"},
        {Util::FormatFundShares(5000, 2), "5000万"},
        {Util::FormatFundShares(123456, 2), "12.35亿"},
        {Util::FormatAmount(-5000, 2), "-5000万"},
        {Util::FormatAmount(123456, 2), "12.35亿"},
        {Util::FormatAmount(-123456, 1), "-12.3亿"},
        {Util::FormatAmount(INT_MIN, 0), "-214748亿"},
        {Util::FormatAmount(0, 2), "--"},
        {Util::FormatMarketValue(23456, 2), "2.35万亿"},
        {Util::FormatMarketValue(9999, 2), "9999亿"},
        {Util::FormatMarketValue(-1, 2), "--"},
    });
}

TEST(UtilFormat, VolumeAxis) {
    struct Case {
        int volume;
        int multiple;
        int dig;
        const char *unit;
    } cases[] = {
        {99999, 1, 0, "0"},
        {5000, 1, 1, "0"},
        {999, 1, 2, "0"},
        {150000, 10000, 2, "×1万"},
        {99999999, 10000, 0, "×1万"},
        {999999999, 10000, 0, "×1万"},
        {1000000000, 100000000, 2, "×1亿"},
    };
    for (const auto &c : cases) {
        int multiple = -1, dig = -1;
        Util::getFormatVolumeMultiple(c.volume, multiple, dig);
        EXPECT_EQ(multiple, c.multiple) << c.volume;
        EXPECT_EQ(dig, c.dig) << c.volume;
        EXPECT_EQ(Util::getFormatVolumeUnit(c.volume), c.unit) << c.volume;
    }
    expectRows({
        {Util::FormatVolumeByMultiple(0, 10000, 2), "--"},
        {Util::FormatVolumeByMultiple(12345, 1, 2), "12345"},
        {Util::FormatVolumeByMultiple(12345, 10000, 2), "1.23"},
    });
}

TEST(UtilFormat, BigOrderTypesAndPackedNumbers) {
    expectRows({
        {Util::getDDType(0), "大笔买入"},
        {Util::getDDType(3), "机构吐货"},
        {Util::getDDType(5), "机构卖单挂单"},
        {Util::getDDType(6), ""},
        {Util::getDDType(-1), ""},
    });
    struct Case {
        uint32_t word;
        int64_t value;
    } cases[] = {{0x00000005, 5},   {0x1FFFFFFF, 0x1FFFFFFF}, {0x40000001, 16},
                 {0x80000001, 256}, {0xC0000001, 16},         {0x3FFFFFFF, -1},
                 {0x7FFFFFFF, -16}, {0x20000000, -(1 << 29)}, {0xA0000000, -(1LL << 37)}};
    for (const auto &c : cases)
        EXPECT_EQ(Util::convertVal(c.word), c.value) << std::hex << c.word;
}

// Decimal counts and values come from the network: absurd ones must neither overflow a buffer nor
// convert out of range.
TEST(UtilFormat, AbsurdInputsStayDefined) {
    const float huge = std::numeric_limits<float>::max();
    expectRows({
        {Util::FormatPrice(1234, 50), "0.0000001234"},
        {Util::FormatPrice(1234, -3), "1234"},
        {Util::FormatPrice(1234.0f, 2, 99), "12.3400000000"},
        {Util::FormatFloat(1.5f, -1), "2"},
        {Util::FormatDStr(1.5f, 20, 1000), "1.5000000000"},
        {Util::FormatFloatClip(-3e9f, 4), "-3000000000"},
        {Util::FormatFloatClip(2147483648.0f, 30), "2147483648.000000"},
    });
    EXPECT_EQ(Util::FormatFloatClip(huge, 4).size(), 39u);
    EXPECT_EQ(Util::FormatDStr(huge, 4, 2).size(), 39u);
    EXPECT_EQ(Util::FormatFloat(huge, 10).size(), 50u);
    EXPECT_NE(Util::FormatFloatClip(std::nanf(""), 4), "");
}

} // namespace
