// Parses arbitrary bytes and checks the parser against an independent grammar check, against a
// parse of the same bytes in two pieces, and by writing what it read and reading that again.
#include "QXJsonParser.h"
#include "QXJsonStreamParser.h"
#include "QXJsonStreamParserAccumulator.h"
#include "QXJsonStreamParserAdapter.h"
#include "QXJsonWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// A strict reading of the grammar the parser promises: an array or object at the top, at most
// 32 levels, only tab, line feed, carriage return and space as whitespace, well-formed UTF-8,
// surrogate escapes only in pairs, and a minus that may be followed directly by a fraction.
class Grammar {
public:
    explicit Grammar(std::string_view text) : s_(text) {}

    bool document() {
        space();
        if (!at('[') && !at('{'))
            return false;
        if (!value())
            return false;
        space();
        return i_ == s_.size();
    }

private:
    bool at(char c) const { return i_ < s_.size() && s_[i_] == c; }
    bool digitAt() const { return i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9'; }
    unsigned char byte(size_t k) const { return k < s_.size() ? static_cast<unsigned char>(s_[k]) : 0; }

    void space() {
        while (at(' ') || at('\t') || at('\n') || at('\r'))
            ++i_;
    }

    bool value() {
        space();
        if (at('['))
            return container(']', false);
        if (at('{'))
            return container('}', true);
        if (at('"'))
            return string();
        for (std::string_view word : {"true", "false", "null"})
            if (s_.substr(i_, word.size()) == word) {
                i_ += word.size();
                return true;
            }
        return number();
    }

    bool container(char close, bool object) {
        if (++depth_ > 32)
            return false;
        ++i_;
        space();
        if (at(close)) {
            ++i_;
            --depth_;
            return true;
        }
        for (;;) {
            if (object) {
                space();
                if (!at('"') || !string())
                    return false;
                space();
                if (!at(':'))
                    return false;
                ++i_;
            }
            if (!value())
                return false;
            space();
            if (at(',')) {
                ++i_;
                continue;
            }
            if (!at(close))
                return false;
            ++i_;
            --depth_;
            return true;
        }
    }

    bool number() {
        if (at('-'))
            ++i_;
        else if (!digitAt())
            return false;
        size_t digits = 0;
        if (at('0')) {
            ++i_;
            digits = 1;
            if (digitAt())
                return false;
        } else {
            for (; digitAt(); ++i_)
                ++digits;
        }
        if (at('.')) {
            ++i_;
            if (!digitAt())
                return false;
            for (; digitAt(); ++i_)
                ++digits;
        }
        if (digits == 0)
            return false;
        if (at('e') || at('E')) {
            ++i_;
            if (at('+') || at('-'))
                ++i_;
            if (!digitAt())
                return false;
            while (digitAt())
                ++i_;
        }
        return true;
    }

    bool hex4(uint32_t &v) {
        v = 0;
        for (int k = 0; k < 4; ++k, ++i_) {
            unsigned char c = byte(i_);
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0)
                return false;
            v = v * 16 + uint32_t(d);
        }
        return true;
    }

    bool string() {
        ++i_;
        for (;;) {
            if (i_ >= s_.size())
                return false;
            unsigned char c = byte(i_);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (!escape())
                    return false;
            } else if (c >= 0x80) {
                if (!utf8())
                    return false;
            } else {
                ++i_;
            }
        }
    }

    bool escape() {
        unsigned char c = byte(++i_);
        ++i_;
        if (std::string_view("\"\\/bfnrt").find(char(c)) != std::string_view::npos && c != 0)
            return true;
        if (c != 'u')
            return false;
        uint32_t unit;
        if (!hex4(unit))
            return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return false;
        if (unit < 0xD800 || unit > 0xDBFF)
            return true;
        if (byte(i_) != '\\' || byte(i_ + 1) != 'u')
            return false;
        i_ += 2;
        uint32_t low;
        return hex4(low) && low >= 0xDC00 && low <= 0xDFFF;
    }

    // Decodes one code point and rejects overlong forms, surrogates and values above U+10FFFF.
    bool utf8() {
        unsigned char c = byte(i_);
        size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (n == 0 || c >= 0xF8)
            return false;
        uint32_t cp = c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            unsigned char t = byte(i_ + k);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (t & 0x3F);
        }
        static constexpr uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i_ += n;
        return true;
    }

    std::string_view s_;
    size_t i_ = 0;
    int depth_ = 0;
};

// A number's value as sign, significant digits and the power of ten of the last digit, so that
// 1.50, 15e-1 and a decimal kept as text compare equal.
std::string canonicalNumber(const std::string &text) {
    size_t i = 0;
    bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    std::string digits;
    int64_t exponent = 0;
    bool fraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
            continue;
        }
        digits += text[i];
        if (fraction)
            --exponent;
    }
    if (i < text.size()) {
        ++i;
        bool minus = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        int64_t written = 0;
        for (; i < text.size(); ++i)
            written = std::min<int64_t>(written * 10 + (text[i] - '0'), int64_t(1) << 40);
        exponent += minus ? -written : written;
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty())
        return "0";
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    return (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
}

bool same(const base::Value &a, const base::Value &b) {
    if (a.isNumber() && b.isNumber() && !a.isBool() && !b.isBool())
        return canonicalNumber(a.description()) == canonicalNumber(b.description());
    if (a.type() != b.type())
        return false;
    if (const base::Array *array = a.array()) {
        if (array->size() != b.array()->size())
            return false;
        for (size_t k = 0; k < array->size(); ++k)
            if (!same((*array)[k], (*b.array())[k]))
                return false;
        return true;
    }
    if (const base::Dict *dict = a.dict()) {
        if (dict->size() != b.dict()->size())
            return false;
        for (const auto &[key, value] : *dict) {
            const base::Value *other = b.dict()->find(key);
            if (!other || !same(value, *other))
                return false;
        }
        return true;
    }
    return a == b;
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

// The same bytes given to a stream parser in two pieces.
std::optional<base::Value> parseInTwo(std::string_view text, size_t cut, std::string &error) {
    auto accumulator = base::make<QXJsonStreamParserAccumulator>();
    auto adapter = base::make<QXJsonStreamParserAdapter>();
    adapter->setDelegate(accumulator);
    QXJsonStreamParser parser;
    parser.setDelegate(adapter);
    parser.parse(text.substr(0, cut));
    QXJsonParserStatus status = parser.parse(text.substr(cut));
    if (status == QXJsonParserComplete && parser.tokeniser().atEnd())
        return accumulator->value();
    error = status == QXJsonParserError ? parser.error() : "Unexpected end of input";
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    QXJsonParser parser;
    std::optional<base::Value> value = parser.objectWithData(text);
    require(value.has_value() == Grammar(text).document());

    std::string pieceError;
    std::optional<base::Value> inTwo = parseInTwo(text, size == 0 ? 0 : data[0] % (size + 1), pieceError);
    require(inTwo.has_value() == value.has_value());
    if (!value) {
        require(!parser.error().empty() && pieceError == parser.error());
        return 0;
    }
    require(same(*inTwo, *value));

    for (bool humanReadable : {false, true}) {
        QXJsonWriter writer;
        writer.setHumanReadable(humanReadable);
        writer.setSortKeys(size % 2 == 1);
        std::optional<std::string> written = writer.stringWithObject(*value);
        require(written.has_value());
        std::optional<base::Value> again = JSONValue(*written);
        require(again && same(*again, *value));
    }
    return 0;
}
