#include "Common/Util.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const std::string missing = "--";

int clampDigits(int dig) {
    return std::clamp(dig, 0, 10);
}

// printf of one value into a string of whatever length it needs.
template <class T> std::string print(const char *format, T value) {
    char small[64];
    int n = std::snprintf(small, sizeof small, format, value);
    if (n < 0)
        return {};
    if (size_t(n) < sizeof small)
        return std::string(small, size_t(n));
    std::string text(size_t(n), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    return text;
}

std::string fixed(double value, int dig) {
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", clampDigits(dig));
    return print(format, value);
}

// "%d" of the value truncated toward zero, without converting values an int cannot hold.
std::string truncated(float value) {
    if (value > -2147483648.0f && value < 2147483648.0f)
        return std::to_string(int(value));
    return print("%.0f", double(std::trunc(value)));
}

} // namespace

std::string Util::FormatDStr(float value, unsigned len, int dig) {
    if (value == 0)
        return missing;
    std::string text = fixed(value, dig);
    size_t dot = text.find('.');
    if (dot == std::string::npos)
        return text;
    std::string integer = text.substr(0, dot);
    std::string fraction = text.substr(dot + 1);
    long long excess = (long long)text.size() - len;
    if (excess > 0)
        fraction.resize(fraction.size() - std::min<size_t>(fraction.size(), size_t(excess)));
    if (fraction.empty() || integer.size() >= len)
        return integer;
    return integer + "." + fraction;
}

std::string Util::FormatSerialNumberVertical(int number) {
    std::string text;
    for (char digit : std::to_string(number)) {
        text += digit;
        text += '\n';
    }
    return text;
}

std::string Util::FormatFloatClip(float value, int len) {
    std::string whole = truncated(value);
    if ((long long)whole.size() + 1 >= len)
        return whole;
    return print("%f", double(value)).substr(0, size_t(len));
}

std::string Util::FormatFloatWithUnit(float value, int digits) {
    // Negative values (falling indicators) take the same units, and their sign does not count
    // toward the width, so that large negative numbers are not cut short.
    float magnitude = std::fabs(value);
    const char *unit = "";
    size_t width = 7;
    if (magnitude >= 100000000.0f) {
        value /= 100000000.0f;
        unit = "亿";
        digits = 5;
        width = 5;
    } else if (magnitude >= 1000000.0f) {
        value /= 10000.0f;
        unit = "万";
        digits = 5;
        width = 5;
    }
    if (value < 0)
        ++width;
    std::string text = fixed(value, digits);
    if (text.size() > width)
        text.resize(text[width - 1] == '.' ? width - 1 : width);
    return text + unit;
}

void Util::itoa(int value, char *c) {
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    char digits[10];
    int n = 0;
    do {
        digits[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *c++ = '-';
    while (n > 0)
        *c++ = digits[--n];
    *c = '\0';
}

std::string Util::FormatPrice(float price, int dig, int displayDig) {
    if (price == 0)
        return missing;
    return fixed(price / std::pow(10.0, clampDigits(dig)), displayDig);
}

std::string Util::FormatPrice(int price, int dig) {
    return FormatPrice(float(price), dig, dig);
}

std::string Util::FormatZDString(int price, int closeprice, int dot) {
    if (price == 0)
        return missing;
    if (price == closeprice)
        return "0.00";
    long long change = price < 1 ? 0 : (long long)price - closeprice;
    return FormatPrice(float(change), dot, dot);
}

std::string Util::FormatZAFString(int price, int closeprice, bool unit) {
    if (price == 0)
        return missing;
    if (price == closeprice)
        return "0.00%";
    float ratio = 0;
    if (closeprice > 0 && price > 0)
        ratio = float((long long)price - closeprice) / float(closeprice);
    std::string text = FormatPer(ratio, unit);
    return ratio > 0 ? "+" + text : text;
}

std::string Util::FormatZEFString(int price, int highprice, bool unit) {
    // A first price below 1 would be a division by zero (or a meaningless negative base).
    if (highprice < 1 || price < 1)
        return FormatPer(0, unit);
    return FormatPer(float(std::llabs((long long)price - highprice)) / float(price), unit);
}

std::string Util::FormatRange(int value, int comparePrice, int dig) {
    if (comparePrice == 0)
        return missing;
    return fixed((float(value) / float(comparePrice) - 1) * 100, dig) + "%";
}

std::string Util::FormatPer(float ratio, bool unit) {
    float percent = ratio * 100;
    if (percent == 0)
        return missing;
    std::string text = FormatDStr(percent, 7, 2);
    return unit ? text + "%" : text;
}

std::string Util::FormatPercent(float ratio, int dig, bool unit) {
    if (ratio == 0)
        return missing;
    std::string text = fixed(ratio * 100, dig);
    return unit ? text + "%" : text;
}

std::string Util::FormatDivisionRate(int value, int radix, bool unit, int dig) {
    if (radix == 0)
        return missing;
    std::string text = fixed(float(value) / float(radix), dig);
    return unit ? text + "%" : text;
}

std::string Util::FormatDivisionValue(int value, int radix, int dig) {
    if (radix == 0)
        return missing;
    return fixed(float(value) / float(radix), dig);
}

std::string Util::getDDXString(int value) {
    return FormatDStr(float(value) / 1000, 8, 3);
}

std::string Util::FormatFloat(float value, int digit) {
    return fixed(value, digit);
}

std::string Util::FormatIntValue(int value) {
    return value == 0 ? missing : std::to_string(value);
}

std::string Util::FormatIntValue(int value, std::string_view unit) {
    return value == 0 ? missing : std::to_string(value).append(unit);
}

std::string Util::FormatVolume(int volume, int len, int dig) {
    if (volume == 0)
        return missing;
    if (volume <= 9999)
        return std::to_string(volume);
    if (volume <= 99999999)
        return FormatDStr(float(volume) / 10000, unsigned(len), dig) + "万";
    return FormatDStr(float(volume) / 100000000, unsigned(len), dig) + "亿";
}

std::string Util::FormatVolumeByLength(int volume, int len) {
    if (volume == 0)
        return missing;
    if (volume <= 9999)
        return std::to_string(volume);
    if (volume <= 99999999)
        return FormatFloatClip(float(volume) / 10000, len) + "万";
    return FormatFloatClip(float(volume) / 100000000, len) + "亿";
}

std::string Util::FormatVolume(int volume, int dig) {
    if (volume <= 0)
        return missing;
    if (volume < 10000)
        return std::to_string(volume);
    if (volume < 100000000)
        return fixed(float(volume) / 10000, dig) + "万";
    return fixed(float(volume) / 100000000, dig) + "亿";
}

std::string Util::FormatBuySellPanVolume(int volume, std::string_view stockCode, int) {
    if (volume <= 0)
        return missing;
    if (getMarketCode(stockCode) == "HK" && volume > 9999) {
        if (volume <= 999999)
            return print("%.1fK", double(float(volume) / 1000));
        return print("%.1fM", double(float(volume) / 1000000));
    }
    return std::to_string(volume);
}

std::string Util::FormatFundSharesByLength(int value, int len) {
    if (value == 0)
        return missing;
    if (value < 10000)
        return FormatFloatClip(float(value), len) + "万";
    return FormatFloatClip(float(value) / 10000, len) + "亿";
}

std::string Util::FormatFundShares(int value, int dig) {
    if (value == 0)
        return missing;
    if (value < 10000)
        return std::to_string(value) + "万";
    return fixed(float(value) / 10000, dig) + "亿";
}

std::string Util::FormatAmount(int amount, int dig) {
    if (amount == 0)
        return missing;
    if (std::llabs(amount) <= 9999)
        return std::to_string(amount) + "万";
    return fixed(float(amount) / 10000, dig) + "亿";
}

std::string Util::FormatMarketValue(int value, int dig) {
    if (value <= 0)
        return missing;
    if (value <= 9999)
        return std::to_string(value) + "亿";
    return fixed(float(value) / 10000, dig) + "万亿";
}

void Util::getFormatVolumeMultiple(int volume, int &multiple, int &dig) {
    if (volume > 999999999)
        multiple = 100000000;
    else if (volume < 100000)
        multiple = 1;
    else
        multiple = 10000;
    float q = float(volume) / float(multiple);
    dig = q >= 10000 ? 0 : q >= 1000 ? 1 : 2;
}

std::string Util::getFormatVolumeUnit(int volume) {
    if (volume > 999999999)
        return "×1亿";
    if (volume <= 99999)
        return "0";
    return "×1万";
}

std::string Util::FormatVolumeByMultiple(int volume, int multiple, int dig) {
    if (volume <= 0)
        return missing;
    if (multiple < 2)
        return std::to_string(volume);
    return fixed(float(volume) / float(multiple), dig);
}

std::string Util::getDDType(int type) {
    static const char *const names[] = {"大笔买入", "大笔卖出",     "机构吃货",
                                        "机构吐货", "机构买单挂单", "机构卖单挂单"};
    return type >= 0 && type < 6 ? names[type] : "";
}

int64_t Util::convertVal(uint32_t word) {
    bool negative = word & (1u << 29);
    int64_t magnitude = negative ? (int64_t(1) << 30) - (word & 0x3FFFFFFF) : word & 0x1FFFFFFF;
    static const int shifts[] = {0, 4, 8, 4}; // scale code read as a signed two-bit number, by magnitude
    int64_t value = magnitude << shifts[word >> 30];
    return negative ? -value : value;
}
