#include "Str.h"

#include "Value.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace base::str {

FormatArg::FormatArg(const Value &v) {
    switch (v.type()) {
    case Value::Type::Integer:
    case Value::Type::Bool:
        kind_ = Kind::Signed;
        i_ = v.intValue();
        break;
    case Value::Type::Unsigned:
        kind_ = Kind::Unsigned;
        u_ = *v.unsignedInteger();
        break;
    case Value::Type::Real:
    case Value::Type::Decimal:
        kind_ = Kind::Real;
        d_ = v.doubleValue();
        break;
    default:
        kind_ = Kind::Text;
        text_ = v.description();
    }
}

FormatArg::FormatArg(const Object *object)
    : kind_(Kind::Text), text_(object ? object->description() : "(null)") {}

long long FormatArg::asSigned() const {
    switch (kind_) {
    case Kind::Signed:
        return i_;
    case Kind::Unsigned:
        return static_cast<long long>(u_);
    case Kind::Real:
        return std::isfinite(d_) && std::fabs(d_) < 9.2e18 ? static_cast<long long>(d_) : 0;
    case Kind::Text:
        return toLongLong(text_);
    case Kind::Pointer:
        return static_cast<long long>(reinterpret_cast<uintptr_t>(p_));
    }
    return 0;
}

unsigned long long FormatArg::asUnsigned() const {
    return kind_ == Kind::Unsigned ? u_ : static_cast<unsigned long long>(asSigned());
}

double FormatArg::asReal() const {
    switch (kind_) {
    case Kind::Signed:
        return double(i_);
    case Kind::Unsigned:
        return double(u_);
    case Kind::Real:
        return d_;
    case Kind::Text:
        return toDouble(text_);
    case Kind::Pointer:
        return 0;
    }
    return 0;
}

std::string FormatArg::asText() const {
    switch (kind_) {
    case Kind::Text:
        return text_;
    case Kind::Signed:
        return std::to_string(i_);
    case Kind::Unsigned:
        return std::to_string(u_);
    case Kind::Real:
        return format("%g", d_);
    case Kind::Pointer:
        return format("%p", p_);
    }
    return {};
}

namespace {

// Formats one conversion with snprintf, whatever its length.
template <class T> std::string printOne(const std::string &conversion, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, conversion.c_str(), value);
    if (n < 0)
        return {};
    if (size_t(n) < sizeof small)
        return std::string(small, size_t(n));
    std::string big(size_t(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), conversion.c_str(), value);
    big.resize(size_t(n));
    return big;
}

struct ArgReader {
    const std::vector<FormatArg> &args;
    size_t next = 0;
    const FormatArg *take() { return next < args.size() ? &args[next++] : nullptr; }
};

} // namespace

std::string formatArgs(std::string_view format, const std::vector<FormatArg> &args) {
    std::string out;
    ArgReader reader{args};
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        std::string conversion = "%";
        ++i;
        // Flags, width and precision, with "*" read from the arguments.
        while (i < format.size() && std::strchr("-+ #0'", format[i]))
            conversion += format[i++];
        for (int part = 0; part < 2 && i < format.size(); ++part) {
            if (part == 1) {
                if (format[i] != '.')
                    break;
                conversion += format[i++];
            }
            if (i < format.size() && format[i] == '*') {
                const FormatArg *a = reader.take();
                conversion += std::to_string(a ? a->asSigned() : 0);
                ++i;
            }
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
                conversion += format[i++];
        }
        while (i < format.size() && std::strchr("hlqLjzt", format[i]))
            ++i;
        if (i >= format.size()) {
            out += conversion;
            break;
        }
        char conv = format[i++];
        if (conv == '%') {
            out += '%';
            continue;
        }
        const FormatArg *a = reader.take();
        switch (conv) {
        case 'd':
        case 'i':
            out += printOne(conversion + "lld", a ? a->asSigned() : 0LL);
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            out += printOne(conversion + "ll" + conv, a ? a->asUnsigned() : 0ULL);
            break;
        case 'c':
            out += printOne(conversion + "c", int(a ? a->asSigned() : 0));
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            out += printOne(conversion + conv, a ? a->asReal() : 0.0);
            break;
        case 'p':
            out += printOne(conversion + "p", a ? a->asPointer() : nullptr);
            break;
        case 's':
        case '@':
            out += printOne(conversion + "s", (a ? a->asText() : std::string()).c_str());
            break;
        default:
            out += conversion;
            out += conv;
        }
    }
    return out;
}

namespace {

std::string_view skipSpace(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    return text.substr(i);
}

} // namespace

long long toLongLong(std::string_view text) {
    text = skipSpace(text);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        unsigned digit = unsigned(text[i] - '0');
        if (magnitude > (ULLONG_MAX - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return overflow || magnitude > (unsigned long long)LLONG_MAX + 1
                   ? LLONG_MIN
                   : static_cast<long long>(0 - magnitude);
    return overflow || magnitude > (unsigned long long)LLONG_MAX ? LLONG_MAX
                                                                 : static_cast<long long>(magnitude);
}

int toInt(std::string_view text) {
    return int(std::clamp<long long>(toLongLong(text), INT_MIN, INT_MAX));
}

double toDouble(std::string_view text) {
    std::string copy(skipSpace(text));
    // strtod also accepts hex, "inf" and "nan"; only decimal numbers count here.
    size_t i = 0;
    if (i < copy.size() && (copy[i] == '+' || copy[i] == '-'))
        ++i;
    if (i >= copy.size() || !(std::isdigit(static_cast<unsigned char>(copy[i])) || copy[i] == '.'))
        return 0;
    if (copy.size() > i + 1 && copy[i] == '0' && (copy[i + 1] == 'x' || copy[i + 1] == 'X'))
        return 0;
    errno = 0;
    double v = std::strtod(copy.c_str(), nullptr);
    return v;
}

float toFloat(std::string_view text) {
    return float(toDouble(text));
}

bool toBool(std::string_view text) {
    text = skipSpace(text);
    if (text.empty())
        return false;
    char c = text[0];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't')
        return true;
    return toLongLong(text) != 0;
}

std::string trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    return std::string(text.substr(b, e - b));
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix);
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::vector<std::string> split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty())
        return {std::string(text)};
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos;
         start = at + separator.size())
        parts.emplace_back(text.substr(start, at - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string join(const std::vector<std::string> &parts, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += separator;
        out += parts[i];
    }
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string out;
    size_t start = 0;
    for (size_t at; (at = text.find(from, start)) != std::string_view::npos; start = at + from.size()) {
        out += text.substr(start, at - start);
        out += to;
    }
    out += text.substr(start);
    return out;
}

namespace {

// Decodes one code point at i; answers the number of bytes used, 0 for an invalid sequence.
size_t decodeOne(std::string_view s, size_t i, char32_t &out) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    char32_t cp = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    out = cp;
    return n;
}

} // namespace

std::vector<char32_t> codePoints(std::string_view utf8) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp;
        size_t n = decodeOne(utf8, i, cp);
        if (n == 0) {
            out.push_back(static_cast<unsigned char>(utf8[i]));
            ++i;
        } else {
            out.push_back(cp);
            i += n;
        }
    }
    return out;
}

std::string fromCodePoint(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

size_t utf16Length(std::string_view utf8) {
    size_t n = 0;
    for (char32_t c : codePoints(utf8))
        n += c >= 0x10000 ? 2 : 1;
    return n;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        char32_t cp;
        size_t n = decodeOne(text, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

} // namespace base::str
