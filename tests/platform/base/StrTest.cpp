#include "base/Str.h"
#include "base/Data.h"
#include "base/Error.h"
#include "base/Value.h"

#include <gtest/gtest.h>

namespace {

using base::str::format;

class Named : public base::Object {
public:
    std::string description() const override { return "named"; }
};

TEST(Format, ConversionsFollowPrintf) {
    auto obj = std::make_shared<Named>();
    EXPECT_EQ(format("%@-%@", obj, std::string("s")), "named-s");
    EXPECT_EQ(format("%.2f|%.2f|%.0f", 2.675, 1.005, 0.5), "2.67|1.00|0");
    EXPECT_EQ(format("%02X%ld%%", 10, 123456789012L), "0A123456789012%");
    EXPECT_EQ(format(format("%%.%df", 3), 1.23456), "1.235");
    EXPECT_EQ(format("%*d|%-4s|", 5, 42, "ab"), "   42|ab  |");
    EXPECT_EQ(format("%d %@", 1), "1 ");
    EXPECT_EQ(format("%@", base::Value(base::Array{1, "x"})), "(1, x)");
}

TEST(Format, LongResultsAreNotCut) {
    std::string big(500, 'x');
    EXPECT_EQ(format("[%s]", big), "[" + big + "]");
}

TEST(Parse, LenientNumbers) {
    struct Case {
        const char *text;
        long long ll;
        double d;
    } cases[] = {
        {"  12", 12, 12}, {"-7.5kg", -7, -7.5}, {"abc", 0, 0},
        {"", 0, 0},       {"+3", 3, 3},         {".5", 0, 0.5},
        {"0x10", 0, 0},   {"nan", 0, 0},        {"99999999999999999999", LLONG_MAX, 1e20},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(base::str::toLongLong(c.text), c.ll) << c.text;
        EXPECT_DOUBLE_EQ(base::str::toDouble(c.text), c.d) << c.text;
    }
    EXPECT_EQ(base::str::toInt("99999999999"), INT_MAX);
}

TEST(Strings, SplitJoinTrimReplace) {
    EXPECT_EQ(base::str::split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(base::str::join({"a", "b"}, "|"), "a|b");
    EXPECT_EQ(base::str::trim(" \t x y \n"), "x y");
    EXPECT_EQ(base::str::replaceAll("aXbXc", "X", "--"), "a--b--c");
}

TEST(Strings, Utf8) {
    EXPECT_EQ(base::str::utf16Length("a中😀"), 4u);
    EXPECT_TRUE(base::str::isValidUtf8("中文"));
    EXPECT_FALSE(base::str::isValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(base::str::isValidUtf8("\xED\xA0\x80"));
    EXPECT_EQ(base::str::fromCodePoint(0x1F600), "😀");
}

TEST(DataBytes, Base64RoundTripAndLines) {
    std::string text(100, 'a');
    auto d = base::Data::fromString(text);
    std::string lines = d.base64(64);
    EXPECT_EQ(lines.find('\n'), 64u);
    EXPECT_EQ(base::Data::fromBase64(lines)->toString(), text);
    EXPECT_EQ(base::Data::fromBase64("aGk=")->toString(), "hi");
    EXPECT_EQ(base::Data::fromBase64("a G\nk =")->toString(), "hi");
    EXPECT_FALSE(base::Data::fromBase64("a"));
    EXPECT_FALSE(base::Data::fromBase64("aG=k"));
    EXPECT_EQ(base::Data::fromBase64Lenient("a=G=k").toString(), "hi");
    EXPECT_EQ(base::Data::fromBase64Lenient("aGkhI").toString(), "hi!");
}

TEST(DataBytes, DescriptionAndEditing) {
    uint8_t bytes[] = {0x0a, 0x1b, 0x2c, 0x3d, 0x4e};
    base::Data d(bytes, sizeof bytes);
    EXPECT_EQ(d.description(), "<0a1b2c3d 4e>");
    d.removeFront(2);
    d.replace(0, 1, "xyz", 3);
    EXPECT_EQ(d.description(), "<78797a3d 4e>");
    d.removeFront(99);
    EXPECT_TRUE(d.empty());
}

TEST(Errors, DescriptionFallsBackToDomainAndCode) {
    EXPECT_EQ(base::Error::make("D", 3)->localizedDescription(),
              "The operation couldn't be completed. (D error 3.)");
    EXPECT_EQ(base::Error::make("D", 3, "坏了")->localizedDescription(), "坏了");
}

} // namespace
