#include "Common/Util.h"

#include "base/Str.h"

#include <algorithm>
#include <climits>

namespace {

// Two digits for values below 10, as the date and time texts pad them.
std::string padded(int value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

// One half of a rights validity word: year − 2000 in bits 0-6, month in 7-10, day in 11-15.
struct PowerDate {
    int year, month, day;
    explicit PowerDate(uint32_t half)
        : year(half & 0x7F), month((half >> 7) & 0xF), day((half >> 11) & 0x1F) {}
    int numDate() const {
        return year == 0 || month == 0 || day == 0 ? 0 : 20000000 + year * 10000 + month * 100 + day;
    }
};

} // namespace

std::string Util::FormatDate(int date) {
    return date < 1 ? "--" : std::to_string(date);
}

std::string Util::formatDate(int date, std::string_view flag) {
    if (date < 1)
        return "-";
    return base::str::format("%d%@%@%d%@%@%d", date / 10000, flag, date / 100 % 100 < 10 ? "0" : "",
                             date / 100 % 100, flag, date % 100 < 10 ? "0" : "", date % 100);
}

std::string Util::FormatTime(int time, bool isShowSecond) {
    if (time <= 9999)
        return base::str::format("%d:%@", time / 100, padded(time % 100));
    if (isShowSecond)
        return ":" + padded(time % 100);
    return base::str::format("%2d:%@:%@", time / 10000, padded(time / 100 % 100), padded(time % 100));
}

std::string Util::FormatKLineTime(int time, int ktype, bool showFullText) {
    if (ktype >= 7)
        return base::str::format("%@-%d-%d", padded(time / 10000 % 100), time / 100 % 100, time % 100);
    uint32_t packed = uint32_t(time);
    int minute = packed & 0x3F, hour = (packed >> 6) & 0x1F, day = (packed >> 11) & 0x1F;
    int month = (packed >> 16) & 0xF, year = int(packed >> 20);
    if (showFullText)
        return base::str::format("%@-%d-%d %d:%@", padded(year % 100), month, day, hour, padded(minute));
    return base::str::format("%d-%d %d:%@", month, day, hour, padded(minute));
}

std::string Util::getKTypeName(int ktype) {
    static const char *const names[] = {"1分钟K线",  "5分钟K线",   "15分钟K线", "30分钟K线",
                                        "60分钟K线", "240分钟K线", "日K线",     "周K线",
                                        "月K线",     "季K线",      "半年K线",   "年K线"};
    return ktype >= 1 && ktype <= 12 ? names[ktype - 1] : "";
}

int Util::getMinCount(int start, int endtime) {
    // Session times come from files: absurd ones must not overflow.
    long long end = endtime < start ? endtime + 2400LL : endtime;
    long long count = (end / 100 - start / 100) * 60 + end % 100 - start % 100 + 1;
    return int(std::clamp<long long>(count, INT_MIN, INT_MAX));
}

void Util::formatPowerDate(uint32_t word, int &pbeginDate, int &pendDate) {
    pbeginDate = PowerDate(word & 0xFFFF).numDate();
    pendDate = PowerDate(word >> 16).numDate();
}

void Util::parsePowerDate(uint32_t word, int &byear, int &bmonth, int &bday, int &eyear, int &emonth,
                          int &eday) {
    PowerDate begin(word & 0xFFFF), end(word >> 16);
    byear = 2000 + begin.year;
    bmonth = begin.month;
    bday = begin.day;
    eyear = 2000 + end.year;
    emonth = end.month;
    eday = end.day;
}

bool Util::isValidPower(uint64_t mask, int index) {
    return index >= 0 && index < 64 && (mask >> index) & 1;
}
