#pragma once

#include "base/Value.h"

#include <optional>
#include <string>

// The plain rules of the bank-transfer forms and history, apart from their views.
namespace transfer {

// Fields of a bank row (11130) and of a history row (11124).
inline constexpr const char *kBankCode = "1186";
inline constexpr const char *kBankName = "1187";
inline constexpr const char *kCurrency = "1028";
inline constexpr const char *kRuleToSecurities = "1303";
inline constexpr const char *kRuleToBank = "1339";
inline constexpr const char *kRuleBalance = "1340";

// A transfer password rule: which passwords an operation needs, and which password fields a form
// offers for it. Rule 0 needs none and offers none; 1 the bank password; 2 the fund password; 3
// both. A rule the client does not know needs neither but offers both, so that whatever the
// broker wants can be typed.
struct PasswordRule {
    bool needsBank = false, needsFund = false;
    bool offersBank = false, offersFund = false;
};
PasswordRule passwordRule(int rule);

// A bank row's rule of one operation, read as an integer; `absent` when the row lacks the field.
int ruleOf(const base::Dict &bank, const char *field, int absent);
// The rules a bank row gives when it lacks the field: to securities 1, to the bank 2, balance 1.
inline constexpr int kDefaultToSecurities = 1, kDefaultToBank = 2, kDefaultBalance = 1;

// "%@(%@)": the bank's name and the name of its currency ("1028" as an integer, 0 when absent).
std::string bankTitle(const base::Dict &bank);

// A transfer amount: a positive decimal with at most two decimals ("100", "0.5", "12.34").
bool isTransferAmount(const std::string &text);

// What the user typed into a form, with the rule the operation checks.
struct Entry {
    std::string bankCode;
    int currency = 0;
    int rule = 0;
    std::string bankPassword, fundPassword, amount;
};
// The first refusal of a transfer, in the order the user sees them; none when it may go.
std::optional<std::string> transferRefusal(const Entry &entry);
// The same for a balance query, which has no amount and words its password texts for the fields
// above the query button.
std::optional<std::string> balanceRefusal(const Entry &entry);

// A history row's texts: the currency's name ("--" without "1028"), and the info line "%@ 银行流水号:%@"
// of "1273" and the bank's serial number "1191" ("1273" alone without "1191").
std::string historyCurrency(const base::Dict &row);
std::string historyInfo(const base::Dict &row);

} // namespace transfer
