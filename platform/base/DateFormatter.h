#pragma once

#include "Date.h"
#include "Locale.h"
#include "TimeZone.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Turns dates into text and back with a fixed pattern, in one locale and time zone.
// Pattern letters: y yy yyyy (year), M MM (month number), MMM MMMM (month name), d dd, H HH
// (0-23), h hh (1-12), m mm, s ss, a (AM/PM), E EEE (short weekday), EEEE (weekday),
// e ee (weekday number in the week), eee eeee (as E), z (zone as "GMT" or "GMT+8"),
// Z ("+0800"). Text in single quotes is literal, '' is a quote; other characters stand for
// themselves. Names are English except in Chinese locales.
class DateFormatter {
public:
    explicit DateFormatter(std::string_view pattern, Locale locale = Locale::current(),
                           TimeZone zone = TimeZone::device());

    std::string string(Date date) const;
    // The date the whole text names, or nothing when it does not match the pattern or names
    // no real day (30 February). Fields missing from the pattern come from 1970-01-01 00:00:00.
    // A zone in the text overrides the formatter's zone.
    std::optional<Date> date(std::string_view text) const;

    const TimeZone &timeZone() const { return zone_; }
    const Locale &locale() const { return locale_; }
    // The weekday that starts a week, for "e" (1 = Sunday).
    int firstWeekday = 1;

    struct Field {
        char letter = 0; // 0 for literal text
        int count = 0;
        std::string literal;
    };

private:
    std::vector<Field> fields_;
    Locale locale_;
    TimeZone zone_;
};

} // namespace base
