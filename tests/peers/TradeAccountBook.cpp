#include "TradeAccountBook.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

namespace peers {

namespace {

constexpr int kFirstRow = 1206;
constexpr int kRowCount = 1277;
constexpr int kBeginDate = 1022;
constexpr int kEndDate = 1023;
constexpr int kDealNumber = 1047;
constexpr const char *kHolder = "A880001";
constexpr const char *kFilled = "已成";
constexpr const char *kBuy = "0";
constexpr int kHoldings = 11146;
constexpr int kTodayOrders = 11134;
constexpr int kTodayDeals = 11140;

long cents(const std::string &price) {
    return std::lround(std::strtod(price.c_str(), nullptr) * 100);
}

std::string money(long cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld.%02ld", cents / 100, std::labs(cents % 100));
    return text;
}

std::string rowText(const std::map<int, std::string> &row) {
    std::string text = "21002=|";
    for (const auto &[tag, value] : row)
        text += std::to_string(tag) + "=" + value + "|";
    return text + "21003=|";
}

std::string withSeparators(std::string text) {
    for (char &c : text)
        if (c == '|')
            c = '\x01';
    return text;
}

std::string head(int funcID) {
    return "21004=" + std::to_string(funcID + 1) + "|";
}

std::string failure(int funcID, const std::string &errMsg, bool withFuncID = true) {
    return withSeparators((withFuncID ? "21004=" + std::to_string(funcID) + "|" : std::string()) +
                          "21008=-1|21009=" + errMsg + "|");
}

int number(const std::optional<std::string> &text, int otherwise) {
    if (!text || text->empty())
        return otherwise;
    char *end = nullptr;
    long value = std::strtol(text->c_str(), &end, 10);
    return *end ? otherwise : int(value);
}

} // namespace

TradeAccountBook::TradeAccountBook(TradeGateway &gateway, std::string today)
    : gateway_(gateway), today_(std::move(today)) {
    funds_ = {{0, 10000000}, {1, 250000}, {2, 380000}};
    for (const char *bank : kBanks)
        banks_[bank] = 5000000;
    setRows(11146, 17);
    setRows(11134, 20);
    setRows(11136, 20);
    setRows(11140, 20);
    setRows(11142, 20);
    setRows(11124, 3);
    for (int funcID : {11102, 11104, 11110, 11114, 11116, 11122, 11124, 11126, 11130, 11132, 11134, 11136,
                       11140, 11142, 11146})
        gateway_.setScript(funcID, [this](const TradeRequest &request) { return reply(request); });
}

std::string TradeAccountBook::daysBefore(int days) const {
    using namespace std::chrono;
    year_month_day day{year(std::stoi(today_.substr(0, 4))), month(unsigned(std::stoi(today_.substr(4, 2)))),
                       std::chrono::day(unsigned(std::stoi(today_.substr(6, 2))))};
    year_month_day past{sys_days(day) - std::chrono::days(days)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", int(past.year()), unsigned(past.month()),
                  unsigned(past.day()));
    return text;
}

TradeAccountBook::Row TradeAccountBook::orderRow(int n, const std::string &date) const {
    char code[8];
    std::snprintf(code, sizeof code, "60%04d", n % 10000);
    return Row{{1003, "1"},
               {1019, kHolder},
               {1026, std::to_string(n % 2)},
               {1036, code},
               {1037, "股票" + std::to_string(n)},
               {1040, std::to_string(100 * (n + 1))},
               {1041, money(1000 + n)},
               {1042, "E" + std::to_string(n)},
               {kOrderState, kReported},
               {kDealNumber, "D" + std::to_string(n)},
               {kRowDate, date}};
}

void TradeAccountBook::setRows(int funcID, int count) {
    std::vector<Row> &rows = lists_[funcID];
    rows.clear();
    if (funcID == 11134)
        nextOrder_ = 0;
    for (int i = 0; i < count; ++i) {
        bool past = funcID == 11136 || funcID == 11142 || funcID == 11124;
        std::string date = past ? daysBefore(1 + i % 5) : today_;
        if (funcID == 11124)
            rows.push_back(transferRow(i, kBanks[i % 3], 0, 10000 * (i + 1), i % 2 == 0, date));
        else
            rows.push_back(orderRow(funcID == 11134 ? nextOrder_++ : 1000 + i, date));
    }
}

void TradeAccountBook::trade() {
    trading_ = true;
    holdings_ = {{"600000", {"浦发银行", 5000, 0, 812}},
                 {"600519", {"贵州茅台", 200, 0, 20130}},
                 {"000001", {"平安银行", 3000, 0, 1388}},
                 {"000858", {"五粮液", 1000, 0, 2602}}};
    list(kTodayOrders).clear();
    list(kTodayDeals).clear();
    nextOrder_ = 0;
}

std::optional<TradeAccountBook::Holding> TradeAccountBook::holding(const std::string &code) const {
    auto it = holdings_.find(code);
    return it == holdings_.end() ? std::nullopt : std::optional(it->second);
}

std::vector<TradeAccountBook::Row> TradeAccountBook::holdingRows() const {
    std::vector<Row> rows;
    for (const auto &[code, held] : holdings_)
        rows.push_back(Row{{1003, code[0] == '6' ? "1" : "2"},
                           {1019, kHolder},
                           {1036, code},
                           {1037, held.name},
                           {1060, std::to_string(held.volume)},
                           {1052, std::to_string(held.frozen)},
                           {1061, std::to_string(held.volume - held.frozen)},
                           {1062, money(held.costCents)},
                           {1181, money(held.costCents)}});
    return rows;
}

long TradeAccountBook::orderCents(const Row &order) {
    return cents(order.at(1041)) * std::atol(order.at(1040).c_str());
}

int TradeAccountBook::fillOpenOrders() {
    int filled = 0;
    for (Row &order : list(kTodayOrders)) {
        if (order.at(kOrderState) != kReported)
            continue;
        long volume = std::atol(order.at(1040).c_str());
        long price = cents(order.at(1041));
        Holding &held = holdings_[order.at(1036)];
        if (order.at(1026) == kBuy) {
            // The average cost, to the nearest cent.
            long shares = std::max(held.volume + volume, 1L);
            held.costCents = (held.costCents * held.volume + price * volume + shares / 2) / shares;
            held.volume += volume;
            if (held.name.empty())
                held.name = order.at(1037);
        } else {
            held.volume -= volume;
            held.frozen -= volume;
            funds_[0] += price * volume;
            if (held.volume <= 0)
                holdings_.erase(order.at(1036));
        }
        order[kOrderState] = kFilled;
        order[kDealNumber] = std::to_string(volume);
        Row deal = order;
        deal[1048] = order.at(1041);
        list(kTodayDeals).push_back(deal);
        ++filled;
    }
    return filled;
}

std::vector<TradeAccountBook::Row> &TradeAccountBook::list(int funcID) {
    return lists_[funcID];
}

std::vector<std::string> TradeAccountBook::dates(int funcID) const {
    std::vector<std::string> out;
    for (const Row &row : lists_.at(funcID))
        out.push_back(row.at(dateField(funcID)));
    return out;
}

std::optional<std::map<int, std::string>> TradeAccountBook::order(const std::string &number) const {
    for (const Row &row : lists_.at(11134))
        if (row.at(1042) == number)
            return row;
    return std::nullopt;
}

void TradeAccountBook::failNext(int funcID, std::string errMsg, bool withFuncID) {
    failures_[funcID] = {std::move(errMsg), withFuncID};
}

std::optional<std::string> TradeAccountBook::reply(const TradeRequest &request) {
    int funcID = request.funcID;
    if (auto failed = failures_.find(funcID); failed != failures_.end()) {
        auto [errMsg, withFuncID] = failed->second;
        failures_.erase(failed);
        return failure(funcID, errMsg, withFuncID);
    }
    switch (funcID) {
    case 11102:
        return securityInfo(request);
    case 11104:
        return fundsReply();
    case 11110:
        return canBuyVolume(request);
    case 11114:
        return cancel(request);
    case 11116:
        return placeOrder(request);
    case 11122:
        return transfer(request);
    case 11126:
        return balance(request);
    case 11130:
        return banks();
    case 11132: {
        std::vector<Row> open;
        for (const Row &row : list(11134))
            if (row.at(kOrderState) == kReported)
                open.push_back(row);
        return listReply(request, open, false);
    }
    case 11136:
    case 11142:
    case 11124:
        return listReply(request, list(funcID), true);
    case kHoldings:
        if (trading_) {
            // The holdings of one security when a code is asked.
            std::vector<Row> rows = holdingRows();
            if (std::string code = request.value(1036).value_or(""); !code.empty())
                std::erase_if(rows, [&](const Row &row) { return row.at(1036) != code; });
            return listReply(request, rows, false);
        }
        return listReply(request, list(funcID), false);
    default:
        return listReply(request, list(funcID), false);
    }
}

std::string TradeAccountBook::listReply(const TradeRequest &request, const std::vector<Row> &rows,
                                        bool dated) {
    std::vector<const Row *> kept;
    std::string begin = request.value(kBeginDate).value_or(""), end = request.value(kEndDate).value_or("");
    for (const Row &row : rows)
        if (!dated ||
            (row.at(dateField(request.funcID)) >= begin && row.at(dateField(request.funcID)) <= end))
            kept.push_back(&row);
    int start = std::max(number(request.value(kFirstRow), 0), 0);
    int count = std::max(number(request.value(kRowCount), 15), 0);
    std::string text = head(request.funcID);
    if (totals_)
        text += "1289=" + std::to_string(kept.size()) + "|";
    text += "21000=0|";
    for (int i = start; i < int(kept.size()) && i < start + count; ++i)
        text += rowText(shownRow(request.funcID, *kept[size_t(i)]));
    return withSeparators(text);
}

// A funds row per currency: the balance is the available money and the money open buys froze; the
// market value of the holdings (at cost, in currency 0) adds to the total assets.
std::string TradeAccountBook::fundsReply() const {
    std::string text = head(11104) + "21000=0|";
    if (secondaryFirst_)
        text += rowText({{1028, "0"}, {1078, money(123)}, {1415, "0"}}) + "21000=1|";
    for (const auto &[currency, cents] : funds_) {
        long frozen = currency == 0 && trading_ ? frozenCents() : 0;
        long value = currency == 0 ? holdingsValueCents() : 0;
        Row row{{1028, std::to_string(currency)},
                {1077, money(cents + frozen)},
                {1078, money(cents)},
                {1079, money(cents)},
                {1065, money(value)},
                {1087, money(cents + frozen + value)},
                {1064, money(0)}};
        if (currency == 0)
            row[1415] = "1";
        text += rowText(row);
    }
    return withSeparators(text);
}

long TradeAccountBook::frozenCents() const {
    long frozen = 0;
    if (auto orders = lists_.find(kTodayOrders); orders != lists_.end())
        for (const Row &order : orders->second)
            if (order.at(kOrderState) == kReported && order.at(1026) == kBuy)
                frozen += orderCents(order);
    return frozen;
}

long TradeAccountBook::holdingsValueCents() const {
    long value = 0;
    for (const auto &[code, held] : holdings_)
        value += held.volume * held.costCents;
    return value;
}

std::string TradeAccountBook::placeOrder(const TradeRequest &request) {
    Row row = orderRow(nextOrder_, today_);
    for (int tag : {1003, 1019, 1026, 1036, 1040, 1041})
        if (auto value = request.value(tag))
            row[tag] = *value;
    if (trading_) {
        long volume = std::atol(row.at(1040).c_str());
        if (volume <= 0 || cents(row.at(1041)) <= 0)
            return failure(11116, "委托价格或数量无效");
        auto held = holdings_.find(row.at(1036));
        if (row.at(1026) == kBuy) {
            if (funds_[0] < orderCents(row))
                return failure(11116, "可用资金不足");
            funds_[0] -= orderCents(row);
        } else {
            if (held == holdings_.end() || held->second.volume - held->second.frozen < volume)
                return failure(11116, "可卖数量不足");
            held->second.frozen += volume;
        }
        if (held != holdings_.end())
            row[1037] = held->second.name;
        row[kDealNumber] = "0";
    }
    ++nextOrder_;
    list(11134).push_back(row);
    return withSeparators(head(11116) + "21000=0|" + rowText({{1042, row.at(1042)}}));
}

std::string TradeAccountBook::cancel(const TradeRequest &request) {
    for (Row &row : list(11134)) {
        if (row.at(1042) != request.value(1042).value_or(""))
            continue;
        if (row.at(kOrderState) != kReported)
            return failure(11114, "该委托不可撤单");
        row[kOrderState] = kCancelled;
        if (trading_ && row.at(1026) == kBuy)
            funds_[0] += orderCents(row);
        else if (trading_)
            holdings_[row.at(1036)].frozen -= std::atol(row.at(1040).c_str());
        std::string text = head(11114) + "21000=0|";
        if (cancelReply_ == CancelReply::WithText)
            text += rowText({{1208, kCancelAccepted}});
        else if (cancelReply_ == CancelReply::WithoutText)
            text += rowText({{1042, row.at(1042)}});
        return withSeparators(text);
    }
    return failure(11114, "委托不存在");
}

std::string TradeAccountBook::transfer(const TradeRequest &request) {
    std::string bank = request.value(1186).value_or("");
    int currency = number(request.value(1028), -1);
    double amount = std::strtod(request.value(1192).value_or("").c_str(), nullptr);
    long cents = std::lround(amount * 100);
    if (!banks_.count(bank) || !funds_.count(currency))
        return failure(11122, "银行或币种无效");
    if (cents <= 0)
        return failure(11122, "转账金额无效");
    bool toSecurities = request.value(1193) == "0";
    long &from = toSecurities ? banks_[bank] : funds_[currency];
    long &to = toSecurities ? funds_[currency] : banks_[bank];
    if (from < cents)
        return failure(11122, "余额不足");
    from -= cents;
    to += cents;
    list(11124).insert(list(11124).begin(),
                       transferRow(nextSerial_++, bank, currency, cents, toSecurities, today_));
    return withSeparators(head(11122) + "21000=0|" + rowText({{1208, "转账成功"}}));
}

std::string TradeAccountBook::balance(const TradeRequest &request) const {
    auto bank = banks_.find(request.value(1186).value_or(""));
    if (bank == banks_.end())
        return failure(11126, "银行无效");
    Row row{{1186, bank->first}};
    if (balanceField_)
        row[1194] = money(bank->second);
    return withSeparators(head(11126) + "21000=0|" + rowText(row));
}

std::vector<TradeAccountBook::BankRow> TradeAccountBook::standardBanks() {
    std::vector<BankRow> rows;
    int i = 0;
    for (const char *code : kBanks) {
        rows.push_back({code, std::string("银行") + code, 0, i % 4, (i + 1) % 4, (i + 2) % 4});
        ++i;
    }
    return rows;
}

void TradeAccountBook::setBanks(std::vector<BankRow> banks) {
    std::map<std::string, long> balances;
    for (const BankRow &bank : banks)
        balances[bank.code] = banks_.count(bank.code) ? banks_[bank.code] : 5000000;
    banks_ = std::move(balances);
    bankRows_ = std::move(banks);
}

std::string TradeAccountBook::banks() const {
    std::string text = head(11130) + "21000=0|";
    for (const BankRow &bank : bankRows_) {
        Row row{{1186, bank.code}, {1187, bank.name}};
        for (auto [tag, value] : {std::pair{1028, bank.currency}, std::pair{1303, bank.toSecurities},
                                  std::pair{1339, bank.toBank}, std::pair{1340, bank.balance}})
            if (value)
                row[tag] = std::to_string(*value);
        text += rowText(row);
    }
    return withSeparators(text);
}

// A history row; every third lacks the bank's serial number, as a broker's row of a transfer the
// bank has not confirmed yet does.
TradeAccountBook::Row TradeAccountBook::transferRow(int n, const std::string &bank, int currency, long cents,
                                                    bool toSecurities, const std::string &date) const {
    std::string name = "银行" + bank;
    for (const BankRow &row : bankRows_)
        if (row.code == bank)
            name = row.name;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", 9 + n % 6, (7 * n) % 60, (13 * n) % 60);
    Row row{{1028, std::to_string(currency)},
            {1043, "已处理"},
            {kTransferDate, date},
            {1046, time},
            {1083, toSecurities ? "银行转证券" : "证券转银行"},
            {1186, bank},
            {1187, name},
            {1192, money(cents)},
            {1193, toSecurities ? "0" : "1"},
            {1273, "转账成功"}};
    if (n % 3 != 2)
        row[1191] = "S" + std::to_string(100000 + n);
    return row;
}

std::string TradeAccountBook::securityInfo(const TradeRequest &request) const {
    std::string code = request.value(1036).value_or("");
    const Security *security = nullptr;
    // Indexes are not traded: "000001" is the Shenzhen stock, not the Shanghai index.
    for (const char *market : {"SH", "SZ"})
        if (const Security *found = market_ ? market_->find(market + code) : nullptr;
            !security && found && found->type != MarketFixture::IndexType)
            security = found;
    if (!security)
        return failure(11102, "证券代码不存在");
    bool shanghai = security->market == "SH";
    int32_t close = security->closePrice;
    int32_t last = security->suspended ? close : market_->quote(*security).last;
    int32_t scale = 1;
    for (int i = 0; i < security->decimal; ++i)
        scale *= 10;
    auto price = [&](int32_t scaled) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%0*d", scaled / scale, security->decimal, scaled % scale);
        return std::string(text);
    };
    Row row{{1036, code},
            {1037, security->name},
            {1003, shanghai ? "1" : "2"},
            {1021, shanghai ? "3" : "2"},
            {1172, price(int32_t(std::lround(close * 1.1)))},
            {1173, price(int32_t(std::lround(close * 0.9)))},
            {1178, price(close)},
            {1181, price(last)}};
    constexpr int bidVolumes[] = {1151, 1152, 1153, 1154, 1155},
                  askVolumes[] = {1162, 1163, 1164, 1165, 1166};
    constexpr int bidPrices[] = {1156, 1157, 1158, 1160, 1161}, askPrices[] = {1167, 1168, 1169, 1170, 1171};
    for (int level = 0; level < 5; ++level) {
        row[bidPrices[level]] = price(std::max(last - level, 0));
        row[askPrices[level]] = price(last + level + 1);
        row[bidVolumes[level]] = std::to_string(100 + MarketFixture::noise(code, level) % 900);
        row[askVolumes[level]] = std::to_string(100 + MarketFixture::noise(code, 10 + level) % 900);
    }
    return withSeparators(head(11102) + "21000=0|" + rowText(row));
}

std::string TradeAccountBook::canBuyVolume(const TradeRequest &request) const {
    long price = cents(request.value(1041).value_or(""));
    long lots = price > 0 ? funds_.at(0) / (price * 100) : 0;
    return withSeparators(head(11110) + "21000=0|" + rowText({{1061, std::to_string(lots * 100)}}));
}

} // namespace peers
