#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"

#include "DataBase/WT/TradeInterface.h"

#include <cstdlib>

namespace transfer {

namespace {

int integer(const base::Value &value) {
    return std::atoi(value.stringValue().c_str());
}

bool digits(const std::string &text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return to > from;
}

} // namespace

PasswordRule passwordRule(int rule) {
    switch (rule) {
    case 0:
        return {};
    case 1:
        return {true, false, true, false};
    case 2:
        return {false, true, false, true};
    case 3:
        return {true, true, true, true};
    default:
        return {false, false, true, true};
    }
}

int ruleOf(const base::Dict &bank, const char *field, int absent) {
    const base::Value *value = bank.find(field);
    return value ? integer(*value) : absent;
}

std::string bankTitle(const base::Dict &bank) {
    const base::Value *currency = bank.find(kCurrency);
    return bank.get(kBankName).stringValue() + "(" +
           TradeInterface::getCurrencyName(currency ? integer(*currency) : 0) + ")";
}

bool isTransferAmount(const std::string &text) {
    size_t point = text.find('.');
    if (point == std::string::npos) {
        if (!digits(text, 0, text.size()))
            return false;
    } else if (!digits(text, 0, point) || !digits(text, point + 1, text.size()) ||
               text.size() - point - 1 > 2) {
        return false;
    }
    return text.find_first_of("123456789") != std::string::npos;
}

namespace {

// The checks both operations share, in order; the password texts differ.
std::optional<std::string> commonRefusal(const Entry &entry, const char *noBankPassword,
                                         const char *noFundPassword) {
    PasswordRule rule = passwordRule(entry.rule);
    if (entry.bankCode.empty())
        return "没有可转帐的银行！";
    if (entry.currency < 0)
        return "请选择币种！";
    if (rule.needsBank && entry.bankPassword.empty())
        return noBankPassword;
    if (rule.needsFund && entry.fundPassword.empty())
        return noFundPassword;
    return std::nullopt;
}

} // namespace

std::optional<std::string> transferRefusal(const Entry &entry) {
    if (std::optional<std::string> refusal = commonRefusal(entry, "请输入银行密码！", "请输入资金密码！"))
        return refusal;
    if (entry.amount.empty())
        return "请输入转帐金额！";
    if (!isTransferAmount(entry.amount))
        return "请输入正确的转帐金额！";
    return std::nullopt;
}

std::optional<std::string> balanceRefusal(const Entry &entry) {
    return commonRefusal(entry, "请在上面输入框中输入银行密码！", "请在上面输入框中输入资金密码！");
}

std::string historyCurrency(const base::Dict &row) {
    const base::Value *currency = row.find(kCurrency);
    return currency ? TradeInterface::getCurrencyName(integer(*currency)) : "--";
}

std::string historyInfo(const base::Dict &row) {
    std::string info = row.get("1273").stringValue();
    if (const base::Value *serial = row.find("1191"))
        info += " 银行流水号:" + serial->stringValue();
    return info;
}

} // namespace transfer
