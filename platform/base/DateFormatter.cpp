#include "DateFormatter.h"

#include "Calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace base {

namespace {

using Field = DateFormatter::Field;

struct Names {
    const char *months[12];
    const char *shortMonths[12];
    const char *weekdays[7];
    const char *shortWeekdays[7];
    const char *amPm[2];
};

constexpr Names english{
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"AM", "PM"},
};

constexpr Names chinese{
    {"一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"},
    {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
    {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"},
    {"周日", "周一", "周二", "周三", "周四", "周五", "周六"},
    {"上午", "下午"},
};

const Names &namesFor(const Locale &locale) {
    return locale.language() == "zh" ? chinese : english;
}

// Only ASCII letters are pattern letters, whatever the C library's locale; Chinese text in a
// pattern stays literal.
char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isPatternLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<Field> compile(std::string_view pattern) {
    std::vector<Field> fields;
    auto literal = [&](std::string_view text) {
        if (fields.empty() || fields.back().letter != 0)
            fields.push_back({});
        fields.back().literal += text;
    };
    for (size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                literal("'");
                i += 2;
                continue;
            }
            size_t end = i + 1;
            std::string text;
            while (end < pattern.size()) {
                if (pattern[end] == '\'' && end + 1 < pattern.size() && pattern[end + 1] == '\'') {
                    text += '\'';
                    end += 2;
                } else if (pattern[end] == '\'') {
                    break;
                } else {
                    text += pattern[end++];
                }
            }
            literal(text);
            i = end + 1;
        } else if (isPatternLetter(c)) {
            size_t end = i;
            while (end < pattern.size() && pattern[end] == c)
                ++end;
            fields.push_back({c, int(end - i), {}});
            i = end;
        } else {
            literal(pattern.substr(i, 1));
            ++i;
        }
    }
    return fields;
}

std::string padded(long long value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, value);
    return text;
}

std::string zoneOffset(int seconds) {
    int magnitude = std::abs(seconds) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d%02d", seconds < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

bool isNumeric(const Field &field) {
    switch (field.letter) {
    case 'y':
    case 'd':
    case 'H':
    case 'h':
    case 'm':
    case 's':
        return true;
    case 'M':
    case 'L':
    case 'e':
        return field.count <= 2;
    default:
        return false;
    }
}

// Reads text against the pattern, one field at a time.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<int> number(size_t exactly) {
        size_t end = pos_;
        size_t limit = exactly ? pos_ + exactly : pos_ + 9;
        while (end < text_.size() && end < limit && text_[end] >= '0' && text_[end] <= '9')
            ++end;
        if (end == pos_ || (exactly && end - pos_ != exactly))
            return std::nullopt;
        int value = 0;
        for (size_t i = pos_; i < end; ++i)
            value = value * 10 + (text_[i] - '0');
        pos_ = end;
        return value;
    }

    // The index of the longest name that the text continues with (case-insensitive).
    template <size_t N> std::optional<int> name(const char *const (&list)[N]) {
        std::optional<int> best;
        size_t bestLength = 0;
        for (size_t i = 0; i < N; ++i) {
            std::string_view candidate(list[i]);
            if (candidate.size() > bestLength && startsWithNoCase(candidate)) {
                best = int(i);
                bestLength = candidate.size();
            }
        }
        pos_ += bestLength;
        return best;
    }

    bool literal(std::string_view expected) {
        if (text_.substr(pos_, expected.size()) != expected)
            return false;
        pos_ += expected.size();
        return true;
    }

    // "GMT", "UTC", "UT", "Z", any of them followed by an offset, a bare offset ("+0800",
    // "-05:00", "+8"), or a North American zone abbreviation. Answers seconds east of GMT.
    std::optional<int> zone() {
        static constexpr std::pair<const char *, int> named[] = {
            {"GMT", 0},  {"UTC", 0},  {"UT", 0},   {"Z", 0},    {"EST", -5}, {"EDT", -4},
            {"CST", -6}, {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7},
        };
        for (auto [abbreviation, hours] : named) {
            if (literal(abbreviation)) {
                if (hours == 0 && pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
                    return offset();
                return hours * 3600;
            }
        }
        return offset();
    }

    bool atEnd() const { return pos_ == text_.size(); }

private:
    bool startsWithNoCase(std::string_view candidate) const {
        if (text_.size() - pos_ < candidate.size())
            return false;
        for (size_t i = 0; i < candidate.size(); ++i) {
            if (asciiLower(text_[pos_ + i]) != asciiLower(candidate[i]))
                return false;
        }
        return true;
    }

    std::optional<int> offset() {
        if (pos_ >= text_.size() || (text_[pos_] != '+' && text_[pos_] != '-'))
            return std::nullopt;
        int sign = text_[pos_++] == '-' ? -1 : 1;
        size_t start = pos_;
        auto hours = number(0);
        if (!hours)
            return std::nullopt;
        int minutes = 0;
        if (pos_ - start == 4) {
            minutes = *hours % 100;
            *hours /= 100;
        } else if (pos_ - start > 2) {
            return std::nullopt;
        } else if (literal(":")) {
            auto m = number(2);
            if (!m)
                return std::nullopt;
            minutes = *m;
        }
        if (*hours > 18 || minutes > 59)
            return std::nullopt;
        return sign * (*hours * 3600 + minutes * 60);
    }

    std::string_view text_;
    size_t pos_ = 0;
};

// A two-digit year lies within 80 years before and 20 years after now.
int expandTwoDigitYear(int year) {
    time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    int current = tm.tm_year + 1900;
    int candidate = current - current % 100 + year;
    if (candidate > current + 20)
        candidate -= 100;
    else if (candidate <= current - 80)
        candidate += 100;
    return candidate;
}

} // namespace

DateFormatter::DateFormatter(std::string_view pattern, Locale locale, TimeZone zone)
    : fields_(compile(pattern)), locale_(std::move(locale)), zone_(std::move(zone)) {}

std::string DateFormatter::string(Date date) const {
    const Names &names = namesFor(locale_);
    Calendar calendar(zone_);
    DateComponents c = calendar.components(date);
    int localWeekday = (c.weekday - firstWeekday + 14) % 7 + 1;
    std::string out;
    for (const Field &f : fields_) {
        switch (f.letter) {
        case 0:
            out += f.literal;
            break;
        case 'y':
            out += f.count == 2 ? padded(c.year % 100, 2) : padded(c.year, f.count);
            break;
        case 'M':
        case 'L':
            out += f.count >= 4   ? names.months[c.month - 1]
                   : f.count == 3 ? names.shortMonths[c.month - 1]
                                  : padded(c.month, f.count);
            break;
        case 'd':
            out += padded(c.day, f.count);
            break;
        case 'H':
            out += padded(c.hour, f.count);
            break;
        case 'h':
            out += padded(c.hour % 12 == 0 ? 12 : c.hour % 12, f.count);
            break;
        case 'm':
            out += padded(c.minute, f.count);
            break;
        case 's':
            out += padded(c.second, f.count);
            break;
        case 'a':
            out += names.amPm[c.hour < 12 ? 0 : 1];
            break;
        case 'e':
            if (f.count <= 2) {
                out += padded(localWeekday, f.count);
                break;
            }
            [[fallthrough]];
        case 'E':
            out += f.count >= 4 ? names.weekdays[c.weekday - 1] : names.shortWeekdays[c.weekday - 1];
            break;
        case 'z':
            out += zone_.abbreviation(date);
            break;
        case 'Z':
            out += zoneOffset(zone_.secondsFromGmt(date));
            break;
        default:
            out.append(size_t(f.count), f.letter);
        }
    }
    return out;
}

std::optional<Date> DateFormatter::date(std::string_view text) const {
    Parser in(text);
    const Names &names = namesFor(locale_);
    DateComponents c;
    bool twelveHour = false, pm = false, twoDigitYear = false;
    std::optional<int> offset;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const Field &f = fields_[i];
        // Numbers that abut another number take exactly the pattern's width ("yyyyMMdd").
        bool abutting = isNumeric(f) && ((i + 1 < fields_.size() && isNumeric(fields_[i + 1])) ||
                                         (i > 0 && isNumeric(fields_[i - 1])));
        size_t width = abutting || (f.letter == 'y' && f.count == 2) ? size_t(f.count) : 0;
        std::optional<int> value = 0;
        switch (f.letter) {
        case 0:
            value = in.literal(f.literal) ? std::optional<int>(0) : std::nullopt;
            break;
        case 'y':
            value = in.number(width);
            if (value)
                c.year = *value;
            twoDigitYear = f.count == 2;
            break;
        case 'M':
        case 'L':
            if (f.count >= 3) {
                value = in.name(names.months);
                if (!value)
                    value = in.name(names.shortMonths);
                if (value)
                    ++*value;
            } else {
                value = in.number(width);
            }
            if (value)
                c.month = *value;
            break;
        case 'd':
            value = in.number(width);
            if (value)
                c.day = *value;
            break;
        case 'H':
        case 'h':
            value = in.number(width);
            if (value)
                c.hour = *value;
            twelveHour = f.letter == 'h';
            break;
        case 'm':
            value = in.number(width);
            if (value)
                c.minute = *value;
            break;
        case 's':
            value = in.number(width);
            if (value)
                c.second = *value;
            break;
        case 'a':
            value = in.name(names.amPm);
            pm = value == 1;
            break;
        case 'e':
            if (f.count <= 2) {
                value = in.number(width);
                break;
            }
            [[fallthrough]];
        case 'E':
            value = in.name(names.weekdays);
            if (!value)
                value = in.name(names.shortWeekdays);
            break;
        case 'z':
        case 'Z':
            offset = in.zone();
            value = offset;
            break;
        default:
            value = in.literal(std::string(size_t(f.count), f.letter)) ? std::optional<int>(0) : std::nullopt;
        }
        if (!value)
            return std::nullopt;
    }
    if (!in.atEnd())
        return std::nullopt;
    if (twoDigitYear)
        c.year = expandTwoDigitYear(c.year);
    if (twelveHour) {
        if (c.hour < 1 || c.hour > 12)
            return std::nullopt;
        c.hour = c.hour % 12 + (pm ? 12 : 0);
    } else if (pm && c.hour < 12) {
        c.hour += 12;
    }
    if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > Calendar::daysInMonth(c.year, c.month) ||
        c.hour > 23 || c.minute > 59 || c.second > 59)
        return std::nullopt;
    return Calendar(offset ? TimeZone::fixed(*offset) : zone_).date(c);
}

} // namespace base
