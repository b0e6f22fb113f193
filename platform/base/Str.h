#pragma once

#include "Object.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace base {

class Value;

namespace str {

// One argument of format(): integers, reals, C and std strings, objects and values.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text, Pointer };

    template <class T>
        requires std::is_integral_v<T>
    FormatArg(T v) {
        if constexpr (std::is_signed_v<T>) {
            kind_ = Kind::Signed;
            i_ = v;
        } else {
            kind_ = Kind::Unsigned;
            u_ = v;
        }
    }
    FormatArg(double v) : kind_(Kind::Real), d_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v ? v : "(null)") {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const Value& v);
    FormatArg(const Object* object);
    template <class T>
        requires std::is_base_of_v<Object, T>
    FormatArg(const Ref<T>& object) : FormatArg(static_cast<const Object*>(object.get())) {}
    FormatArg(const void* pointer) : kind_(Kind::Pointer), p_(pointer) {}

    Kind kind() const { return kind_; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asReal() const;
    // What "%@" and "%s" print.
    std::string asText() const;
    const void* asPointer() const { return p_; }

private:
    Kind kind_;
    long long i_ = 0;
    unsigned long long u_ = 0;
    double d_ = 0;
    std::string text_;
    const void* p_ = nullptr;
};

// printf-style formatting with the C library's rounding. "%@" prints an object's description
// (or a string); length modifiers are accepted and ignored; "*" takes the width or precision
// from the arguments. Missing arguments format as 0 or "".
std::string formatArgs(std::string_view format, const std::vector<FormatArg>& args);

template <class... Args> std::string format(std::string_view fmt, const Args&... args) {
    return formatArgs(fmt, std::vector<FormatArg>{FormatArg(args)...});
}

// Lenient number parsing: leading white space is skipped, the longest numeric prefix is read,
// and 0 is the answer when there is none. Integers saturate instead of overflowing.
int toInt(std::string_view text);
long long toLongLong(std::string_view text);
float toFloat(std::string_view text);
double toDouble(std::string_view text);
// True for a leading "Y", "y", "T", "t" or a non-zero number, as boolean parsing of text works.
bool toBool(std::string_view text);

std::string trim(std::string_view text);
std::string upper(std::string_view text);
std::string lower(std::string_view text);
bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);
bool contains(std::string_view text, std::string_view part);
std::vector<std::string> split(std::string_view text, std::string_view separator);
std::string join(const std::vector<std::string>& parts, std::string_view separator);
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// UTF-8 helpers. Invalid bytes count as one unit each.
std::vector<char32_t> codePoints(std::string_view utf8);
std::string fromCodePoint(char32_t c);
size_t utf16Length(std::string_view utf8);
bool isValidUtf8(std::string_view text);

} // namespace str
} // namespace base
