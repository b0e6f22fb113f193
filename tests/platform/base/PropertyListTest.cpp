#include "base/PropertyList.h"
#include "base/FileManager.h"
#include "base/Paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using base::Array;
using base::Data;
using base::Date;
using base::Dict;
using base::PropertyList;
using base::Value;

std::string hex(std::string_view digits) {
    std::string out;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        out += char(std::stoi(std::string(digits.substr(i, 2)), nullptr, 16));
    return out;
}

Value sample() {
    Dict inner{{"name", "中文 ünïcode ✓"}, {"empty", Array{}}, {"emptyDict", Dict{}}};
    return Dict{
        {"int", 42},
        {"negative", -7},
        {"big", std::numeric_limits<int64_t>::max()},
        {"smallest", std::numeric_limits<int64_t>::min()},
        {"real", 2.0},
        {"fraction", -0.125},
        {"yes", true},
        {"no", false},
        {"data", Data::fromString(std::string("\x00\xff\x10", 3))},
        {"date", Date(-86400)},
        {"later", Date::since1970(1330837567)},
        {"list", Array{1, "two", 3.5, Array{Dict{{"deep", inner}}}}},
        {"inner", inner},
    };
}

// Asserts that kinds survive, not only values: integers stay integers, reals stay reals.
void expectSameKinds(const Value &a, const Value &b) {
    ASSERT_EQ(a.type(), b.type()) << a.description() << " vs " << b.description();
    if (auto *dict = a.dict()) {
        ASSERT_EQ(dict->keys(), b.dict()->keys());
        for (const auto &[key, value] : *dict)
            expectSameKinds(value, b[key]);
    } else if (auto *array = a.array()) {
        ASSERT_EQ(array->size(), b.array()->size());
        for (size_t i = 0; i < array->size(); ++i)
            expectSameKinds((*array)[i], b[i]);
    }
}

TEST(PropertyList, RoundTripsXmlAndBinary) {
    Value original = sample();
    for (auto form : {PropertyList::xml(original), PropertyList::binary(original)}) {
        ASSERT_TRUE(form);
        auto back = PropertyList::read(*form);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, original) << back->description() << "\n" << original.description();
        expectSameKinds(*back, original);
    }
}

TEST(PropertyList, BinaryKeepsFractionsOfSecondsXmlWholeSeconds) {
    struct Case {
        double date, xmlBack;
    } cases[] = {{-3600.25, -3600}, {100.75, 100}, {3.5e8 + 0.5, 3.5e8}};
    for (const auto &c : cases) {
        Value list = Array{Date(c.date)};
        EXPECT_EQ(PropertyList::read(*PropertyList::binary(list))->operator[](0), Value(Date(c.date)))
            << c.date;
        EXPECT_EQ(PropertyList::read(*PropertyList::xml(list))->operator[](0), Value(Date(c.xmlBack)))
            << c.date;
    }
}

TEST(PropertyList, ReadsXmlWrittenByOthers) {
    const char *xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>Tab_ViewController</key><string>自选股</string>
<key>count</key><integer>-12</integer>
<key>ratio</key><real>1</real>
<key>on</key><true/>
<key>when</key><date>2012-03-04T05:06:07Z</date>
<key>blob</key><data>AAEC</data>
</dict></plist>)";
    auto value = PropertyList::read(Data::fromString(xml));
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["Tab_ViewController"], Value("自选股"));
    EXPECT_EQ(*(*value)["count"].integer(), -12);
    EXPECT_TRUE((*value)["ratio"].real());
    EXPECT_EQ(*(*value)["on"].boolean(), true);
    EXPECT_EQ((*value)["when"], Value(Date::since1970(1330837567)));
    EXPECT_EQ((*value)["blob"], Value(Data(std::vector<uint8_t>{0, 1, 2})));
}

TEST(PropertyList, MalformedInputReadsAsNothing) {
    std::string valid = PropertyList::binary(sample())->toString();
    const std::string cases[] = {
        "",
        "not a plist",
        "<plist version=\"1.0\"><dict><key>a</key>",
        "bplist00",
        std::string("<plist version=\"1.0\"><array><string>x\0y</string></array></plist>", 64),
        valid.substr(0, valid.size() / 2),
        valid.substr(0, valid.size() - 10) + std::string(10, '\xff'),
        // {"é\0b": 1}: a NUL inside a key
        hex("62706c6973743030d101026300e9000000621001080b1200000000000001010000000000000003000000000000000000"
            "00000000000014"),
        // {"k": "a\xff"}: a string that is not UTF-8
        hex("62706c6973743030d10102516b5261ff080b0d0000000000000101000000000000000300000000000000000000000000"
            "000010"),
    };
    for (const auto &bytes : cases)
        EXPECT_FALSE(PropertyList::read(Data::fromString(bytes))) << bytes.size();
    EXPECT_FALSE(PropertyList::read(std::string("/nonexistent/file.plist")));
}

TEST(PropertyList, ValuesAPropertyListCannotHoldAreRefused) {
    const Value cases[] = {
        Value(),
        Array{1, Value()},
        Dict{{"u", std::numeric_limits<uint64_t>::max()}},
        Array{Date(1e12)},
        Value(std::string("a\0b", 3)),
        Value(std::string("a\xff")),
        Dict{{std::string("k\xff"), 1}},
    };
    for (const auto &value : cases) {
        EXPECT_FALSE(PropertyList::xml(value)) << value.description();
        EXPECT_FALSE(PropertyList::binary(value)) << value.description();
    }
}

TEST(PropertyList, WriteGoesThroughAnAtomicReplace) {
    std::string dir = base::FileManager::uniqueTemporaryPath();
    ASSERT_TRUE(base::FileManager::createDirectory(dir, true));
    std::string path = base::Paths::join(dir, "UserConfig.plist");
    ASSERT_TRUE(PropertyList::write(sample(), path));
    EXPECT_EQ(PropertyList::read(path), sample());

    EXPECT_FALSE(PropertyList::write(Array{Value()}, path));
    EXPECT_EQ(PropertyList::read(path), sample());
    EXPECT_FALSE(PropertyList::write(sample(), base::Paths::join(dir, "missing/x.plist")));
    base::FileManager::remove(dir);
}

} // namespace
