#include "DataBase/WT/TradeInterface.h"

#include "base/Str.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

struct AccountType {
    const char *name;
    const char *exchange;
};

const std::array<AccountType, 13> kAccountTypes{{
    {"资金帐号", ""},
    {"客户号", ""},
    {"深圳A股东", "SZ"},
    {"上海A股东", "SH"},
    {"深圳B股东", "SZ"},
    {"上海B股东", "SH"},
    {"深圳国债", "SZ"},
    {"上海国债", "SH"},
    {"深圳创业", "SZ"},
    {"特别A", ""},
    {"特别B", ""},
    {"三板G股", ""},
    {"开放式基金", ""},
}};

template <size_t N>
std::string lookUp(const std::array<const char *, N> &names, int index, const char *other) {
    return index >= 0 && size_t(index) < N ? names[size_t(index)] : other;
}

} // namespace

std::string TradeInterface::getAccountTypeName(int type) {
    return type >= 0 && size_t(type) < kAccountTypes.size() ? kAccountTypes[size_t(type)].name : "";
}

std::string TradeInterface::getExchangeStr(int type) {
    return type >= 0 && size_t(type) < kAccountTypes.size() ? kAccountTypes[size_t(type)].exchange : "";
}

std::string TradeInterface::getCurrencyName(int currency) {
    static const std::array<const char *, 3> names{"人民币", "美元", "港元"};
    return lookUp(names, currency, "--");
}

std::string TradeInterface::getTransferPswTypeName(int type) {
    static const std::array<const char *, 4> names{"不需要任何密码", "需要输入银行密码", "需要输入资金密码",
                                                   "需要输入银行密码和资金密码"};
    return lookUp(names, type, "--");
}

std::string TradeUtil::getRequestDate(const std::string &date) {
    return base::str::replaceAll(date, "-", "");
}

std::string TradeUtil::getDisplayDate(const std::string &date) {
    // Only an eight-character ASCII text is a date; cutting anything else could split a character.
    bool ascii = std::all_of(date.begin(), date.end(), [](char c) { return uint8_t(c) < 0x80; });
    if (date.size() != 8 || !ascii)
        return date;
    return base::str::format("%@-%@-%@", date.substr(0, 4), date.substr(4, 2), date.substr(6, 2));
}
