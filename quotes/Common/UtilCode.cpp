#include "Common/Util.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::string Util::getMarketCode(std::string_view code) {
    return code.size() < 2 ? std::string() : std::string(code.substr(0, 2));
}

std::string Util::getNumCode(std::string_view code) {
    return code.size() <= 2 ? std::string() : std::string(code.substr(2));
}

std::string Util::getNumCodeLast2(std::string_view code) {
    return code.size() <= 2 ? std::string() : std::string(code.substr(code.size() - 2));
}

bool Util::isSHSZCode(std::optional<std::string_view> code) {
    if (!code)
        return true;
    std::string market = getMarketCode(*code);
    return market == "SH" || market == "SZ";
}

bool Util::belongToMarket(std::string_view market, std::optional<std::string_view> code) {
    return code && getMarketCode(*code) == market;
}

bool Util::isQHType(int type) {
    return type == 7 || type == 8;
}

bool Util::isEmptyStr(std::string_view str) {
    return str.empty();
}

bool Util::isSameStr(std::string_view str, std::string_view str2) {
    return str == str2;
}

std::string Util::getNotNilStr(std::optional<std::string_view> str) {
    return str ? std::string(*str) : "";
}

base::Value Util::objectForKey(const std::string &key, const base::Dict &dic) {
    const base::Value *value = dic.find(key);
    return value ? *value : base::Value("");
}

bool Util::strInArray(std::optional<std::string_view> str, const base::Array &array) {
    return str && std::any_of(array.begin(), array.end(), [&](const base::Value &element) {
               const std::string *text = element.string();
               return text && *text == *str;
           });
}

int32_t Util::truncToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

float Util::mappingAsixYValue(float max, float min, float v, float top, float bottom) {
    if (max == min || v < min)
        return bottom;
    if (v > max)
        return top;
    return bottom - (bottom - top) * (v - min) / (max - min);
}

float Util::mappingValueByAsixY(float max, float min, float y, float top, float bottom) {
    if (top == bottom || y > bottom)
        return min;
    if (y < top)
        return max;
    return max - (max - min) * (y - top) / (bottom - top);
}

float Util::mappingAsixXValue(float max, float min, float v, float left, float right) {
    if (v < min)
        return left;
    if (v > max)
        return right;
    // A flat series would divide zero by zero.
    if (max == min)
        return left;
    return left + (right - left) * (v - min) / (max - min);
}

double Util::getAvailableMemory() {
    return 0.0;
}
