#include "TradeAccountBook.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace peers {

namespace {

constexpr int kOrderNumber = 1042;
constexpr int kDealVolume = 1047;

bool isNumber(const std::string &text) {
    char *end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

std::string value(const std::map<int, std::string> &row, int tag) {
    auto it = row.find(tag);
    return it == row.end() ? std::string() : it->second;
}

} // namespace

TradeAccountBook::Row TradeAccountBook::shownRow(int funcID, const Row &row) {
    Row shown = row;
    // Shenzhen holdings are held under the Shenzhen shareholder code ("0" and the account).
    std::string code = value(row, 1036), holder = value(row, 1019);
    if (funcID == 11146 && !code.empty() && (code[0] == '0' || code[0] == '3') && holder.size() > 1)
        shown[1019] = "0" + holder.substr(1);
    bool deals = funcID == 11140 || funcID == 11142;
    bool orders = funcID == 11132 || funcID == 11134 || funcID == 11136;
    if (!deals && !orders)
        return shown;
    std::string date = value(row, kRowDate);
    shown[1027] = value(row, 1026) == "0" ? "买入" : "卖出";
    // Orders placed from 09:30 on, a minute apart by their number.
    int n = std::atoi(value(row, kOrderNumber).c_str() + (value(row, kOrderNumber).empty() ? 0 : 1));
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:00", 9 + (30 + n % 300) / 60, (30 + n % 300) % 60);
    // A deal list's volume is what was dealt: the whole order, in the book.
    std::string dealt = value(row, kDealVolume);
    if (!isNumber(dealt))
        dealt = deals ? value(row, 1040) : "0";
    shown[kDealVolume] = dealt;
    if (orders) {
        shown[1038] = date;
        shown[1039] = time;
        shown[1043] = value(row, kOrderState);
        shown[1214] = funcID != 11136 && value(row, kOrderState) == kReported ? "1" : "0";
        double amount = std::strtod(dealt.c_str(), nullptr) * std::strtod(value(row, 1041).c_str(), nullptr);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", amount);
        shown[1049] = text;
    } else {
        shown[1045] = date;
        shown[1294] = "普通成交";
        if (value(row, 1048).empty())
            shown[1048] = value(row, 1041);
    }
    return shown;
}

} // namespace peers
