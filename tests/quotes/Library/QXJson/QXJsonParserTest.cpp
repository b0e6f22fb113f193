#include "QXJsonParser.h"
#include "QXJsonStreamParser.h"
#include "QXJsonStreamParserAccumulator.h"
#include "QXJsonStreamParserAdapter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using base::Array;
using base::Decimal;
using base::Dict;
using base::Value;

std::string parseError(std::string_view text) {
    QXJsonParser parser;
    EXPECT_FALSE(parser.objectWithString(text)) << text;
    return parser.error();
}

Value parseOne(std::string_view text) {
    QXJsonParser parser;
    std::optional<Value> value = parser.objectWithString(text);
    EXPECT_TRUE(value) << text << ": " << parser.error();
    return value ? *value : Value();
}

// Equal in value and in kind: signed, unsigned and decimal numbers are told apart.
void expectSame(const Value &actual, const Value &expected, const std::string &context) {
    EXPECT_EQ(actual.type(), expected.type()) << context;
    EXPECT_TRUE(actual == expected) << context << ": " << actual.description();
}

std::string nested(int depth) {
    return std::string(size_t(depth), '[') + std::string(size_t(depth), ']');
}

TEST(QXJsonParser, NumbersKeepTheirKind) {
    struct Case {
        const char *text;
        Value expected;
    } cases[] = {
        {"0", uint64_t(0)},
        {"123", uint64_t(123)},
        {"-123", int64_t(-123)},
        {"-0", int64_t(0)},
        {"999999999999999999", uint64_t(999999999999999999ull)},
        {"-999999999999999999", int64_t(-999999999999999999ll)},
        {"1234567890123456789", Decimal{0, 0, false, "1234567890123456789"}},
        {"-1234567890123456789", Decimal{0, 0, true, "-1234567890123456789"}},
        {"18446744073709551616", Decimal{0, 0, false, "18446744073709551616"}},
        {"1.5", Decimal{15, -1, false, {}}},
        {"-0.25", Decimal{25, -2, true, {}}},
        {"0.5", Decimal{5, -1, false, {}}},
        {"-.5", Decimal{5, -1, true, {}}},
        {"0e5", Decimal{0, 5, false, {}}},
        {"1e3", Decimal{1, 3, false, {}}},
        {"1E+3", Decimal{1, 3, false, {}}},
        {"2.5e-3", Decimal{25, -4, false, {}}},
        {"12345678901234567.8", Decimal{123456789012345678ull, -1, false, {}}},
        {"0.000000000000000001", Decimal{0, 0, false, "0.000000000000000001"}},
        {"-.1234567890123456789", Decimal{0, 0, true, "-0.1234567890123456789"}},
        {"1e32767", Decimal{1, 32767, false, {}}},
        {"1e-32768", Decimal{1, -32768, false, {}}},
        {"1e32768", Decimal{0, 0, false, "1e32768"}},
        {"1e65536", Decimal{0, 0, false, "1e65536"}},
        {"1.5e-32768", Decimal{0, 0, false, "1.5e-32768"}},
        {"-1e99999999999999999999", Decimal{0, 0, true, "-1e99999999999999999999"}},
    };
    for (const auto &c : cases) {
        Value array = parseOne(std::string("[") + c.text + "]");
        ASSERT_TRUE(array.array()) << c.text;
        ASSERT_EQ(array.array()->size(), 1u) << c.text;
        expectSame((*array.array())[0], c.expected, c.text);
    }
}

TEST(QXJsonParser, StringsDecodeEscapesIntoUtf8) {
    struct Case {
        const char *literal;
        std::string expected;
    } cases[] = {
        {R"("")", ""},
        {R"("abc")", "abc"},
        {R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
        {R"("\u0041\u00e9\u4E2D")", "Aé中"},
        {R"("\ud83d\ude00")", "😀"},
        {R"("\u0000")", std::string("\0", 1)},
        {R"("a\nb中文")", "a\nb中文"},
        {"\"沪深300 \xf0\x9f\x98\x80\"", "沪深300 😀"},
    };
    for (const auto &c : cases) {
        Value array = parseOne(std::string("[") + c.literal + "]");
        expectSame(array[0], Value(c.expected), c.literal);
    }
}

TEST(QXJsonParser, BuildsContainersInDocumentOrder) {
    Value value = parseOne(R"( {"b": [1, {"c": null}], "a": true, "z": false, "s": "t"} )");
    ASSERT_TRUE(value.dict());
    EXPECT_EQ(value.dict()->keys(), (std::vector<std::string>{"b", "a", "z", "s"}));
    expectSame(value["b"][1]["c"], Value(), "null");
    expectSame(value["a"], Value(true), "true stays a boolean");
    expectSame(value["z"], Value(false), "false stays a boolean");
    expectSame(value["b"][0], Value(uint64_t(1)), "element");
    expectSame(value["s"], Value("t"), "string");
}

TEST(QXJsonParser, RepeatedKeyKeepsTheLaterValue) {
    Value value = parseOne(R"({"a": 1, "b": 2, "a": [3]})");
    ASSERT_TRUE(value.dict());
    EXPECT_EQ(value.dict()->size(), 2u);
    EXPECT_TRUE(value["a"] == Value(Array{uint64_t(3)}));
}

TEST(QXJsonParser, NestingIsLimited) {
    EXPECT_TRUE(parseOne(nested(32)).array());
    EXPECT_EQ(parseError(nested(33)), "Input depth exceeds max depth of 32");
    EXPECT_EQ(parseError(std::string(33, '[')), "Input depth exceeds max depth of 32");
    EXPECT_EQ(parseError(R"([{"a":)" + nested(31) + "}]"), "Input depth exceeds max depth of 32");

    QXJsonParser shallow;
    shallow.setMaxDepth(2);
    EXPECT_TRUE(shallow.objectWithString("[{}]"));
    EXPECT_FALSE(shallow.objectWithString("[{\"a\":[]}]"));
    EXPECT_EQ(shallow.error(), "Input depth exceeds max depth of 2");
}

TEST(QXJsonParser, ReportsTheFirstFault) {
    struct Case {
        std::string text;
        const char *error;
    } cases[] = {
        {"", "Unexpected end of input"},
        {" \t\r\n", "Unexpected end of input"},
        {"1 ", "Token 'number' not expected before outer-most array or object"},
        {"\"a\"", "Token 'string' not expected before outer-most array or object"},
        {"true", "Token 'boolean' not expected before outer-most array or object"},
        {"null", "Token 'null' not expected before outer-most array or object"},
        {"]", "Token 'end of array' not expected before outer-most array or object"},
        {":", "Token 'key-value separator' not expected before outer-most array or object"},
        {"[1,]", "Token 'end of array' not expected as array value"},
        {"[,1]", "Token 'value separator' not expected at array start"},
        {"[1 2]", "Token 'number' not expected after array value"},
        {R"({"a":1,})", "Token 'end of object' not expected in place of object key"},
        {"{1:2}", "Token 'number' not expected at beginning of object"},
        {R"({"a":1,2:3})", "Token 'number' not expected in place of object key"},
        {R"({"a" 1})", "Token 'number' not expected after object key"},
        {R"({"a":})", "Token 'end of object' not expected as object value"},
        {R"({"a":1 "b":2})", "Token 'string' not expected after object value"},
        {"[] []", "Token 'start of array' not expected after outer-most array or object"},
        {"[] 2 ", "Token 'number' not expected after outer-most array or object"},
        {"[] x", "Illegal start of token [x]"},
        // Input ending inside a container, word, string, number or escape.
        {"[", "Unexpected end of input"},
        {R"({"a":)", "Unexpected end of input"},
        {"[tru", "Unexpected end of input"},
        {R"(["abc)", "Unexpected end of input"},
        {"[12", "Unexpected end of input"},
        {"[-", "Unexpected end of input"},
        {"[1.", "Unexpected end of input"},
        {"[1e", "Unexpected end of input"},
        {R"(["\)", "Unexpected end of input"},
        {R"(["\u12)", "Unexpected end of input"},
        {R"(["\ud800\u)", "Unexpected end of input"},
        {R"(["\ud800"])", "Unexpected end of input"},
        // A complete document followed by the start of a token that the input cuts off.
        {"[1] 2", "Unexpected end of input"},
        {"{} t", "Unexpected end of input"},
        {R"([] "a)", "Unexpected end of input"},
        // Words.
        {"[trux]", "Expected 'true' after initial 't'"},
        {"[fals0]", "Expected 'false' after initial 'f'"},
        {"[nul]", "Expected 'null' after initial 'n'"},
        {"[True]", "Illegal start of token [T]"},
        {"[\f]", "Illegal start of token [\f]"},
        {"[\xe4]", "Illegal start of token [\xc3\xa4]"},
        // Numbers.
        {"[+1]", "Leading + is illegal in number"},
        {"[01]", "Leading zero is illegal in number"},
        {"[-01]", "Leading zero is illegal in number"},
        {"[1.]", "No digits after decimal point"},
        {"[1.e5]", "No digits after decimal point"},
        {"[.5]", "Illegal start of token [.]"},
        {"[1e]", "No digits in exponent"},
        {"[1e+]", "No digits in exponent"},
        {"[-]", "No digits after initial minus"},
        {"[-x]", "No digits after initial minus"},
        // Strings.
        {"[\"a\tb\"]", "Unescaped control character [0x09]"},
        {"[\"a\nb\"]", "Unescaped control character [0x0A]"},
        {std::string("[\"\0\"]", 5), "Unescaped control character [0x00]"},
        {R"(["\x"])", "Illegal escape character"},
        {R"(["\u12g4"])", "Invalid hex quad"},
        {R"(["\udc00"])", "Invalid high character in surrogate pair"},
        {R"(["\ud800", "abcdef"])", "Missing low character in surrogate pair"},
        {R"(["\ud800\u12x4"])", "Missing low character in surrogate pair"},
        {R"(["\ud800\u0041"])", "Invalid low character in surrogate pair"},
        {R"(["\ud800\ud800"])", "Invalid low character in surrogate pair"},
        {"[\"\xff\"]", "Broken Unicode encoding"},
        {"[\"\xc0\xaf\"]", "Broken Unicode encoding"},
        {"[\"\xed\xa0\x80\"]", "Broken Unicode encoding"},
        {"[\"\xe4\xb8\"]", "Broken Unicode encoding"},
        {"[\"\xf4\x90\x80\x80\"]", "Broken Unicode encoding"},
        // A bad sequence right behind a run of Chinese characters, or cutting one short.
        {"[\"中文\xed\xa0\x80\"]", "Broken Unicode encoding"},
        {"[\"中文\xe4\xb8\"]", "Broken Unicode encoding"},
        {"[\"中文\x80中\"]", "Broken Unicode encoding"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseError(c.text), c.error) << c.text;
}

TEST(QXJsonParser, MissingInputAndErrorObjects) {
    QXJsonParser parser;
    EXPECT_FALSE(parser.objectWithString(std::nullopt));
    EXPECT_EQ(parser.error(), "Input was 'nil'");

    base::Ref<base::Error> error;
    EXPECT_FALSE(parser.objectWithString("[1,]", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "org.QXJsonParser.ErrorDomain");
    EXPECT_EQ(error->code(), 0);
    EXPECT_EQ(error->localizedDescription(), "Token 'end of array' not expected as array value");

    // A later success leaves the last failure's text in place.
    EXPECT_TRUE(parser.objectWithData(std::string_view("[]")));
    EXPECT_EQ(parser.error(), "Token 'end of array' not expected as array value");
}

TEST(QXJsonParser, JSONValueAnswersOnlyWholeDocuments) {
    EXPECT_TRUE(JSONValue(R"([{"title":"要闻"}])") == Value(Array{Dict{{"title", "要闻"}}}));
    EXPECT_FALSE(JSONValue("[1,"));
    EXPECT_FALSE(JSONValue("\"text\""));
}

// Records the finished top-level containers of an adapter.
struct Collector : QXJsonStreamParserAdapterDelegate {
    std::vector<Value> found;
    void parserFoundArray(QXJsonStreamParserAdapter &, Value array) override { found.push_back(array); }
    void parserFoundObject(QXJsonStreamParserAdapter &, Value object) override { found.push_back(object); }
};

struct Pipeline {
    base::Ref<Collector> collector = base::make<Collector>();
    base::Ref<QXJsonStreamParserAdapter> adapter = base::make<QXJsonStreamParserAdapter>();
    QXJsonStreamParser parser;
    Pipeline() {
        adapter->setDelegate(collector);
        parser.setDelegate(adapter);
    }
};

TEST(QXJsonStreamParser, TokensCutBetweenCallsAreReadWhole) {
    const std::string text =
        R"({"k\u00e9y": ["中文\n", -12.5e1, 1234567890123456789, true, null, "\ud83d\ude00"]} )";
    const Value expected = parseOne(text);
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        Pipeline p;
        // The parser must keep what it has not read yet: the caller's bytes change after the call.
        std::string piece = text.substr(0, cut);
        QXJsonParserStatus first = p.parser.parse(piece);
        piece.assign(piece.size(), '?');
        EXPECT_EQ(first, cut < text.size() - 1 ? QXJsonParserWaitingForData : QXJsonParserComplete) << cut;
        EXPECT_EQ(p.parser.parse(std::string_view(text).substr(cut)), QXJsonParserComplete) << cut;
        ASSERT_EQ(p.collector->found.size(), 1u) << cut;
        EXPECT_TRUE(p.collector->found[0] == expected) << cut;
    }
}

TEST(QXJsonStreamParser, ErrorIsFinal) {
    Pipeline p;
    EXPECT_EQ(p.parser.parse("[1,]"), QXJsonParserError);
    EXPECT_EQ(p.parser.parse("[]"), QXJsonParserError);
    EXPECT_EQ(p.parser.error(), "Token 'end of array' not expected as array value");
    EXPECT_TRUE(p.collector->found.empty());
}

TEST(QXJsonStreamParser, MultipleDocumentsAreReadOneAfterAnother) {
    Pipeline p;
    p.parser.setSupportMultipleDocuments(true);
    EXPECT_EQ(p.parser.parse("[1] {\"a\":2}\n[]"), QXJsonParserWaitingForData);
    ASSERT_EQ(p.collector->found.size(), 3u);
    EXPECT_TRUE(p.collector->found[1] == Value(Dict{{"a", uint64_t(2)}}));
}

TEST(QXJsonStreamParserAdapter, SkippedLevelsHandTheirContentsOn) {
    Pipeline p;
    p.adapter->setLevelsToSkip(1);
    EXPECT_EQ(p.parser.parse(R"({"a": [1], "b": {"c": 2}})"), QXJsonParserComplete);
    ASSERT_EQ(p.collector->found.size(), 2u);
    EXPECT_TRUE(p.collector->found[0] == Value(Array{uint64_t(1)}));
    EXPECT_TRUE(p.collector->found[1] == Value(Dict{{"c", uint64_t(2)}}));
}

} // namespace
