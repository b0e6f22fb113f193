#include "QXJsonWriter.h"
#include "QXJsonParser.h"
#include "QXJsonStreamWriter.h"
#include "QXJsonStreamWriterAccumulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using base::Array;
using base::Decimal;
using base::Dict;
using base::Value;

std::string written(const Value &value, bool sortKeys = false, bool humanReadable = false) {
    QXJsonWriter writer;
    writer.setSortKeys(sortKeys);
    writer.setHumanReadable(humanReadable);
    std::optional<std::string> text = writer.stringWithObject(value);
    EXPECT_TRUE(text) << writer.error();
    return text.value_or("");
}

std::string writeError(const Value &value) {
    QXJsonWriter writer;
    EXPECT_FALSE(writer.stringWithObject(value));
    return writer.error();
}

Value nestedArrays(int depth) {
    Value value = Array();
    for (int i = 1; i < depth; ++i)
        value = Array{value};
    return value;
}

TEST(QXJsonWriter, CompactAndHumanReadableForms) {
    Value value = Dict{{"a", Array{1, 2}}};
    EXPECT_EQ(written(value, true), R"({"a":[1,2]})");
    EXPECT_EQ(written(value, true, true), "{\n  \"a\": [\n    1,\n    2\n  ]\n}");
    EXPECT_EQ(written(Dict{{"k", Dict{{"x", nullptr}, {"y", true}}}}, false, true),
              "{\n  \"k\": {\n    \"x\": null,\n    \"y\": true\n  }\n}");
    EXPECT_EQ(written(Array{Array{}, Dict{}}), "[[],{}]");
    EXPECT_EQ(JSONRepresentation(Array{"x", false}), R"(["x",false])");
}

TEST(QXJsonWriter, KeysInStoredOrSortedOrder) {
    Value value = Dict{{"b", 1}, {"a", Dict{{"d", 4}, {"c", 3}}}, {"中", 0}, {"B", 2}};
    EXPECT_EQ(written(value), R"({"b":1,"a":{"d":4,"c":3},"中":0,"B":2})");
    EXPECT_EQ(written(value, true), R"({"B":2,"a":{"c":3,"d":4},"b":1,"中":0})");
}

TEST(QXJsonWriter, EscapesStrings) {
    struct Case {
        std::string text;
        const char *expected;
    } cases[] = {
        {"plain", R"("plain")"},           {"tab\tquote\"", R"("tab\tquote\"")"},
        {"\b\f\n\r\\", R"("\b\f\n\r\\")"}, {"\x0b", R"("\u000b")"},
        {"\x1f\x01", R"("\u001f\u0001")"}, {std::string("\0", 1), R"("\u0000")"},
        {"a/b\x7f", "\"a/b\x7f\""},        {"上证指数 😀", "\"上证指数 😀\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(written(Array{c.text}), std::string("[") + c.expected + "]") << c.text;
}

TEST(QXJsonWriter, NumbersByTheirKind) {
    struct Case {
        Value number;
        const char *expected;
    } cases[] = {
        {-5, "-5"},
        {std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
        {std::numeric_limits<uint64_t>::max(), "18446744073709551615"},
        {0.1, "0.10000000000000001"},
        {1e300, "1.0000000000000001e+300"},
        {-0.0, "-0"},
        {Decimal{15, -1, false, {}}, "1.5"},
        {Decimal{25, -3, true, {}}, "-0.025"},
        {Decimal{1, 3, false, {}}, "1000"},
        {Decimal{0, 0, false, "1234567890123456789.5"}, "1234567890123456789.5"},
        {true, "true"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(written(Array{c.number}), std::string("[") + c.expected + "]") << c.expected;
}

TEST(QXJsonWriter, Failures) {
    struct Case {
        Value value;
        const char *error;
    } cases[] = {
        {Value("text"), "Not valid type for JSON"},
        {Value(1), "Not valid type for JSON"},
        {Value(), "Not valid type for JSON"},
        {nestedArrays(33), "Nested too deep"},
        {Dict{{"a", nestedArrays(32)}}, "Nested too deep"},
        {Array{std::numeric_limits<double>::infinity()}, "+Infinity is not a valid number in JSON"},
        {Array{-std::numeric_limits<double>::infinity()}, "-Infinity is not a valid number in JSON"},
        {Array{std::nan("")}, "NaN is not a valid number in JSON"},
        {Array{Decimal{0, 0, false, "NaN"}}, "NaN is not a valid number in JSON"},
        {Array{base::Data::fromString("x")}, "JSON serialisation not supported for Data"},
        {Dict{{"d", base::Date()}}, "JSON serialisation not supported for Date"},
        {Array{"\xff"}, "Broken Unicode encoding"},
        {Dict{{"\xe4\xb8", 1}}, "Broken Unicode encoding"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(writeError(c.value), c.error) << c.error;
    EXPECT_EQ(written(nestedArrays(32)), std::string(32, '[') + std::string(32, ']'));
}

TEST(QXJsonWriter, ErrorObjectAndClearedError) {
    QXJsonWriter writer;
    base::Ref<base::Error> error;
    EXPECT_FALSE(writer.stringWithObject(Value(1), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "org.QXJsonWriter.ErrorDomain");
    EXPECT_EQ(error->code(), 0);
    EXPECT_EQ(error->localizedDescription(), "Not valid type for JSON");

    std::optional<base::Data> data = writer.dataWithObject(Array{1});
    ASSERT_TRUE(data);
    EXPECT_EQ(data->toString(), "[1]");
    EXPECT_EQ(writer.error(), "");
}

TEST(QXJsonWriter, RepeatedAndManyStringsStayCorrect) {
    Array many;
    for (int i = 0; i < 3000; ++i)
        many.add(std::string(size_t(i % 80), 'x') + std::to_string(i) + (i % 7 == 0 ? "\t" : ""));
    Value value = Array{many, many};
    std::optional<Value> back = JSONValue(written(value));
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == value);
}

TEST(QXJsonWriter, ParsedDocumentsWriteBackToEqualValues) {
    const char *text = R"({"list": [{"title": "沪指收涨0.52%\t\"新高\"", "id": 1234567890123456789,
        "change": -12.5, "up": true, "note": null, "tags": ["a\/b", "\u00e9\ud83d\ude00"],
        "price": {"open": 3012.25, "vol": 0, "exp": 2.5e-3, "neg": -7}}], "count": 1})";
    std::optional<Value> value = JSONValue(text);
    ASSERT_TRUE(value);
    for (bool humanReadable : {false, true}) {
        std::optional<Value> again = JSONValue(written(*value, false, humanReadable));
        ASSERT_TRUE(again);
        EXPECT_TRUE(*again == *value) << humanReadable;
    }
}

struct Stream {
    base::Ref<QXJsonStreamWriterAccumulator> accumulator = base::make<QXJsonStreamWriterAccumulator>();
    QXJsonStreamWriter writer;
    Stream() { writer.setDelegate(accumulator); }
};

TEST(QXJsonStreamWriter, AcceptsOneTopLevelValue) {
    Stream s;
    EXPECT_TRUE(s.writer.writeArrayOpen());
    EXPECT_TRUE(s.writer.writeNumber(Value(uint64_t(7))));
    EXPECT_TRUE(s.writer.writeArrayClose());
    EXPECT_FALSE(s.writer.writeNull());
    EXPECT_EQ(s.writer.error(), "Stream is closed");
    EXPECT_FALSE(s.writer.writeString("x"));
    EXPECT_FALSE(s.writer.writeArrayOpen());
    EXPECT_EQ(s.accumulator->data(), "[7]");
}

TEST(QXJsonStreamWriter, ValueWhereAKeyIsExpected) {
    Stream s;
    EXPECT_TRUE(s.writer.writeObjectOpen());
    EXPECT_FALSE(s.writer.writeBool(true));
    EXPECT_EQ(s.writer.error(), "JSON object key must be string");

    Stream afterValue;
    EXPECT_TRUE(afterValue.writer.writeObjectOpen());
    EXPECT_TRUE(afterValue.writer.writeString("k"));
    EXPECT_TRUE(afterValue.writer.writeValue(Value(1)));
    EXPECT_FALSE(afterValue.writer.writeArrayOpen());
    EXPECT_FALSE(afterValue.writer.writeArrayClose());
    EXPECT_EQ(afterValue.writer.error(), "JSON object key must be string");
    EXPECT_TRUE(afterValue.writer.writeObjectClose());
    EXPECT_EQ(afterValue.accumulator->data(), R"({"k":1})");
}

TEST(QXJsonStreamWriter, CloseWithoutOpenFails) {
    Stream s;
    EXPECT_FALSE(s.writer.writeObjectClose());
    EXPECT_EQ(s.writer.error(), "No open array or object to close");
    EXPECT_FALSE(s.writer.writeArrayClose());
    EXPECT_EQ(s.accumulator->data(), "");
}

} // namespace
