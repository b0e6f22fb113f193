#include "QXJsonTokeniser.h"

#include "base/Str.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigit(unsigned char ch) {
    return ch >= '0' && ch <= '9';
}

void appendCodePoint(std::string &out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The byte as a character of an error text: bytes above 0x7F read as Latin-1, so that the text
// stays valid UTF-8.
std::string byteText(unsigned char ch) {
    std::string out;
    appendCodePoint(out, ch);
    return out;
}

} // namespace

QXJsonToken QXJsonTokeniser::fail(std::string text) {
    error_ = std::move(text);
    return QXJsonTokenError;
}

bool QXJsonTokeniser::atEnd() {
    stream_.skipWhitespace();
    return !stream_.haveRemainingCharacters(1);
}

QXJsonToken QXJsonTokeniser::getToken(QXJsonTokenValue &value) {
    stream_.skipWhitespace();
    unsigned char ch = 0;
    if (!stream_.getUnichar(ch))
        return QXJsonTokenEof;
    size_t start = stream_.index();
    QXJsonToken token;
    switch (ch) {
    case '[':
        stream_.skip();
        return QXJsonTokenArrayStart;
    case ']':
        stream_.skip();
        return QXJsonTokenArrayEnd;
    case '{':
        stream_.skip();
        return QXJsonTokenObjectStart;
    case '}':
        stream_.skip();
        return QXJsonTokenObjectEnd;
    case ',':
        stream_.skip();
        return QXJsonTokenValueSeparator;
    case ':':
        stream_.skip();
        return QXJsonTokenKeyValueSeparator;
    case '"':
        token = getStringToken(value.string);
        break;
    case 't':
        token = match("true", 4, QXJsonTokenTrue);
        break;
    case 'f':
        token = match("false", 5, QXJsonTokenFalse);
        break;
    case 'n':
        token = match("null", 4, QXJsonTokenNull);
        break;
    case '+':
        return fail("Leading + is illegal in number");
    default:
        if (ch != '-' && !isDigit(ch))
            return fail("Illegal start of token [" + byteText(ch) + "]");
        token = getNumberToken(value.number);
    }
    if (token == QXJsonTokenEof)
        stream_.setIndex(start);
    return token;
}

QXJsonToken QXJsonTokeniser::match(const char *word, size_t length, QXJsonToken retval) {
    if (!stream_.haveRemainingCharacters(length))
        return QXJsonTokenEof;
    if (!stream_.skipCharacters(word, length))
        return fail(base::str::format("Expected '%s' after initial '%.1s'", word, word));
    return retval;
}

QXJsonToken QXJsonTokeniser::getStringToken(std::string &value) {
    bool accumulating = false;
    for (;;) {
        stream_.skip();
        std::string_view fragment;
        switch (stream_.getRetainedStringFragment(fragment)) {
        case QXJsonUTF8Stream::Fragment::Incomplete:
            return QXJsonTokenEof;
        case QXJsonUTF8Stream::Fragment::Broken:
            return fail("Broken Unicode encoding");
        case QXJsonUTF8Stream::Fragment::Complete:
            break;
        }
        unsigned char ch = 0;
        stream_.getUnichar(ch);
        if (!accumulating && ch == '"') {
            value.assign(fragment);
            stream_.skip();
            return QXJsonTokenString;
        }
        if (accumulating)
            value.append(fragment);
        else
            value.assign(fragment);
        accumulating = true;
        if (ch < 0x20)
            return fail(base::str::format("Unescaped control character [0x%0.2X]", unsigned(ch)));
        if (ch == '"') {
            stream_.skip();
            return QXJsonTokenString;
        }
        if (!stream_.getNextUnichar(ch))
            return QXJsonTokenEof;
        if (ch == 'u') {
            QXJsonToken result = decodeUnicodeEscape(value);
            if (result != QXJsonTokenString)
                return result;
        } else if (!decodeEscape(ch, value)) {
            return fail("Illegal escape character");
        }
    }
}

// Reads a \u escape (the position on its u) into `into`, leaving the position on its last byte.
// A surrogate pair becomes the one character it encodes. Answers the string token when the
// escape was good.
QXJsonToken QXJsonTokeniser::decodeUnicodeEscape(std::string &into) {
    if (!stream_.haveRemainingCharacters(5))
        return QXJsonTokenEof;
    uint16_t high;
    if (!decodeHexQuad(high))
        return fail("Invalid hex quad");
    if (high >= 0xDC00 && high <= 0xDFFF)
        return fail("Invalid high character in surrogate pair");
    if (high < 0xD800 || high > 0xDBFF) {
        appendCodePoint(into, high);
        return QXJsonTokenString;
    }
    if (!stream_.haveRemainingCharacters(7))
        return QXJsonTokenEof;
    unsigned char ch = 0;
    uint16_t low;
    if (!stream_.getNextUnichar(ch) || ch != '\\' || !stream_.getNextUnichar(ch) || ch != 'u' ||
        !decodeHexQuad(low))
        return fail("Missing low character in surrogate pair");
    if (low < 0xDC00 || low > 0xDFFF)
        return fail("Invalid low character in surrogate pair");
    appendCodePoint(into, 0x10000 + ((uint32_t(high) - 0xD800) << 10) + (uint32_t(low) - 0xDC00));
    return QXJsonTokenString;
}

bool QXJsonTokeniser::decodeEscape(unsigned char ch, std::string &into) {
    switch (ch) {
    case '"':
    case '\\':
    case '/':
        into += char(ch);
        return true;
    case 'b':
        into += '\b';
        return true;
    case 'f':
        into += '\f';
        return true;
    case 'n':
        into += '\n';
        return true;
    case 'r':
        into += '\r';
        return true;
    case 't':
        into += '\t';
        return true;
    default:
        return false;
    }
}

bool QXJsonTokeniser::decodeHexQuad(uint16_t &quad) {
    quad = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char ch = 0;
        if (!stream_.getNextUnichar(ch))
            return false;
        int digit;
        if (isDigit(ch))
            digit = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return false;
        quad = uint16_t(quad * 16 + digit);
    }
    return true;
}

// Numbers of up to 18 digits are computed exactly in 64 bits; longer ones, and those whose
// exponent does not fit the decimal's 16-bit exponent, keep their own text.
QXJsonToken QXJsonTokeniser::getNumberToken(base::Value &value) {
    constexpr int exactDigits = 18;
    constexpr int64_t exponentCap = 1'000'000'000;
    size_t start = stream_.index();
    unsigned char ch = 0;
    stream_.getUnichar(ch);
    bool negative = ch == '-';
    if (negative && !stream_.getNextUnichar(ch))
        return QXJsonTokenEof;

    uint64_t mantissa = 0;
    int digits = 0;
    auto addDigit = [&] {
        if (digits < exactDigits)
            mantissa = mantissa * 10 + (ch - '0');
        ++digits;
    };
    if (ch == '0') {
        if (!stream_.getNextUnichar(ch))
            return QXJsonTokenEof;
        if (isDigit(ch))
            return fail("Leading zero is illegal in number");
        digits = 1;
    } else {
        while (isDigit(ch)) {
            addDigit();
            if (!stream_.getNextUnichar(ch))
                return QXJsonTokenEof;
        }
    }

    bool decimal = false;
    int64_t exponent = 0;
    if (ch == '.') {
        decimal = true;
        if (!stream_.getNextUnichar(ch))
            return QXJsonTokenEof;
        if (!isDigit(ch))
            return fail("No digits after decimal point");
        while (isDigit(ch)) {
            addDigit();
            --exponent;
            if (!stream_.getNextUnichar(ch))
                return QXJsonTokenEof;
        }
    }
    if (ch == 'e' || ch == 'E') {
        decimal = true;
        if (!stream_.getNextUnichar(ch))
            return QXJsonTokenEof;
        bool negativeExponent = ch == '-';
        if ((ch == '-' || ch == '+') && !stream_.getNextUnichar(ch))
            return QXJsonTokenEof;
        if (!isDigit(ch))
            return fail("No digits in exponent");
        int64_t written = 0;
        while (isDigit(ch)) {
            written = std::min(written * 10 + (ch - '0'), exponentCap);
            if (!stream_.getNextUnichar(ch))
                return QXJsonTokenEof;
        }
        exponent += negativeExponent ? -written : written;
    }
    if (negative && digits == 0)
        return fail("No digits after initial minus");

    if (digits > exactDigits || exponent < std::numeric_limits<int16_t>::min() ||
        exponent > std::numeric_limits<int16_t>::max()) {
        std::string text(stream_.stringWithRange(start, stream_.index() - start));
        if (text.starts_with("-."))
            text.insert(1, "0");
        value = base::Decimal{0, 0, negative, std::move(text)};
    } else if (decimal) {
        value = base::Decimal{mantissa, int16_t(exponent), negative, {}};
    } else if (negative) {
        value = -int64_t(mantissa);
    } else {
        value = mantissa;
    }
    return QXJsonTokenNumber;
}
