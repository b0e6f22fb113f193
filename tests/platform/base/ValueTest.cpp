#include "base/Value.h"
#include "base/Error.h"

#include <gtest/gtest.h>

namespace {

using base::Array;
using base::Dict;
using base::Value;

TEST(Value, ArraysAndDictionariesAreSharedUntilCopied) {
    Array rows;
    Value holder = rows;
    rows.add(1);
    ASSERT_EQ(holder.array()->size(), 1u);

    Array copied = rows.copy();
    rows.add(2);
    EXPECT_EQ(copied.size(), 1u);

    Dict inner{{"n", 1}};
    Dict outer{{"inner", inner}};
    Dict shallow = outer.copy();
    Dict deep = outer.deepCopy();
    inner.set("n", 2);
    EXPECT_EQ(shallow["inner"]["n"].intValue(), 2);
    EXPECT_EQ(Value(deep)["inner"]["n"].intValue(), 1);
}

TEST(Value, DictKeepsInsertionOrderAndLaterValueOfARepeatedKey) {
    Dict d;
    d.set("b", 1);
    d.set("a", 2);
    d.set("b", 3);
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(d.get("b").intValue(), 3);
    d.remove("b");
    d.set("c", 4);
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(d.get("c").intValue(), 4);
    EXPECT_TRUE(d.get("missing").isNull());
}

TEST(Value, LenientConversions) {
    struct Case {
        Value v;
        int64_t i;
        double d;
        bool b;
    } cases[] = {
        {Value("  42abc"), 42, 42, true}, {Value("-3.75"), -3, -3.75, true},
        {Value("x1"), 0, 0, false},       {Value(2.9), 2, 2.9, true},
        {Value(true), 1, 1, true},        {Value(), 0, 0, false},
        {Value("YES"), 0, 0, true},       {Value(1e300), INT64_MAX, 1e300, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.v.intValue(), c.i) << c.v.description();
        EXPECT_DOUBLE_EQ(c.v.doubleValue(), c.d) << c.v.description();
        EXPECT_EQ(c.v.boolValue(), c.b) << c.v.description();
    }
}

TEST(Value, NumbersCompareByValueAcrossKinds) {
    EXPECT_EQ(Value(5), Value(5ull));
    EXPECT_EQ(Value(5), Value(5.0));
    EXPECT_FALSE(Value(-1) == Value(18446744073709551615ull));
    EXPECT_FALSE(Value(true) == Value(1));
    EXPECT_EQ(Value(Array{1, "a"}), Value(Array{1, "a"}));
}

TEST(Value, DecimalDescription) {
    EXPECT_EQ((base::Decimal{12345, -2, false, {}}).description(), "123.45");
    EXPECT_EQ((base::Decimal{5, -3, true, {}}).description(), "-0.005");
    EXPECT_EQ((base::Decimal{12, 3, false, {}}).description(), "12000");
    EXPECT_EQ((base::Decimal{0, 0, false, "12345678901234567890.5"}).description(), "12345678901234567890.5");
}

} // namespace

namespace {

class Pack : public base::Object {};

TEST(Value, ObjectsRideByReference) {
    auto pack = std::make_shared<Pack>();
    base::Dict params{{"pack", pack}};
    EXPECT_EQ(params.get("pack").objectAs<Pack>(), pack);
    EXPECT_EQ(params.get("pack").objectAs<base::Error>(), nullptr);
    EXPECT_EQ(params.deepCopy().get("pack").object(), pack);
    EXPECT_EQ(params.get("pack"), base::Value(pack));
    EXPECT_FALSE(params.get("pack") == base::Value(std::make_shared<Pack>()));
    EXPECT_EQ(base::Value(1).object(), nullptr);
}

} // namespace

namespace {

// Removals shift the positions behind them; lookups, order and copies must follow.
TEST(Value, LargeDictionariesKeepOrderAndLookups) {
    base::Dict d;
    for (int i = 0; i < 100; ++i)
        d.set("key-with-a-long-name-" + std::to_string(i), i);
    d.set("key-with-a-long-name-7", 700);
    d.remove("key-with-a-long-name-3");
    base::Dict copied = d.copy();
    d.clear();
    ASSERT_EQ(copied.size(), 99u);
    EXPECT_EQ(copied.keys()[3], "key-with-a-long-name-4");
    EXPECT_EQ(copied.get("key-with-a-long-name-7").intValue(), 700);
    EXPECT_EQ(copied.get("key-with-a-long-name-99").intValue(), 99);
    EXPECT_FALSE(copied.has("key-with-a-long-name-3"));
    for (int i = 0; i < 90; ++i)
        copied.remove("key-with-a-long-name-" + std::to_string(i));
    EXPECT_EQ(copied.size(), 10u);
    EXPECT_EQ(copied.get("k").intValue(), 0);
    EXPECT_EQ(copied.get("key-with-a-long-name-95").intValue(), 95);
}

// Small dictionaries scan their keys and larger ones keep an index: growing and shrinking across
// that size must keep every key findable and a repeated key in its first place.
TEST(Value, DictionariesGrowAndShrinkAcrossTheIndexedSize) {
    base::Dict d;
    auto key = [](int i) { return "k" + std::to_string(i); };
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i)
            d.set(key(i), i);
        d.set(key(0), 100);
        for (int i = 39; i >= 5; --i)
            d.remove(key(i));
    }
    ASSERT_EQ(d.keys(), (std::vector<std::string>{"k0", "k1", "k2", "k3", "k4"}));
    EXPECT_EQ(d.get("k0").intValue(), 100);
    for (int i = 5; i < 30; ++i)
        d[key(i)] = i;
    d.set(std::string("k20"), 200);
    EXPECT_EQ(d.size(), 30u);
    EXPECT_EQ(d.keys()[20], "k20");
    EXPECT_EQ(d.get("k20").intValue(), 200);
    EXPECT_EQ(d.get("k29").intValue(), 29);
    EXPECT_FALSE(d.has("k30"));
}

TEST(Value, DecimalsCompareByValue) {
    EXPECT_EQ(base::Value(base::Decimal{150, -2, false, {}}), base::Value(base::Decimal{15, -1, false, {}}));
    EXPECT_FALSE(base::Value(base::Decimal{15, -1, true, {}}) ==
                 base::Value(base::Decimal{15, -1, false, {}}));
}

} // namespace
