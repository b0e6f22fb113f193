#pragma once

#include "MarketFixture.h"
#include "TradeGateway.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace peers {

// One consistent account behind the loopback trade gateway: funds in three currencies, holdings,
// today's and past orders and deals, linked banks with their balances and the transfer history.
// It scripts the gateway's replies to the account functions: the lists answer the rows from 1206
// on, at most 1277 of them, with the total in "1289" unless turned off; past lists keep the rows
// whose date lies within 1022..1023. Orders (11116) add to today's orders, cancels (11114) mark an
// order cancelled, transfers (11122) move money between a bank and the funds and add a history row.
// Any function can be made to fail on its next request.
//
// Given a market, it also answers the security query (11102) for every Shanghai and Shenzhen code
// of it: name, exchange ("1003": 1 Shanghai, 2 Shenzhen), account type ("1021": 3 Shanghai A, 2
// Shenzhen A), the last price and previous close, limits 10 % either side and a five-level book a
// tick apart, prices as decimal text ("2.01"); and the volume the funds can buy (11110, "1061", in
// lots of 100 at the price asked).
class TradeAccountBook {
public:
    // Field tags of the rows beyond those the client reads by name.
    static constexpr int kRowDate = 1046;
    static constexpr int kOrderState = 1044;
    static constexpr const char *kCancelled = "已撤";
    static constexpr const char *kReported = "已报";
    static constexpr const char *kCancelAccepted = "撤单成功";
    // The account's banks, each in currency 0, with their balances.
    static constexpr const char *kBanks[] = {"1001", "1002", "1003"};

    // A linked bank as the bank list (11130) shows it: code "1186", name "1187", currency "1028"
    // and the password rules of the transfer to securities "1303", to the bank "1339" and of the
    // balance query "1340". A field without a value is left out of the row.
    struct BankRow {
        std::string code, name;
        std::optional<int> currency = 0, toSecurities, toBank, balance;
    };
    // The bank list as made: "1001" to "1003" in renminbi, their rules 0–3 in turn.
    static std::vector<BankRow> standardBanks();

    // `today` as yyyyMMdd: past rows are dated from the day before it back.
    TradeAccountBook(TradeGateway &gateway, std::string today);

    // The securities the security query answers for.
    void setMarket(MarketFixture market) { market_ = std::move(market); }

    // The number of rows of a list function (11146, 11134, 11136, 11140, 11142, 11124), made anew.
    void setRows(int funcID, int count);
    // Whether list replies carry their total ("1289").
    void setTotals(bool totals) { totals_ = totals; }
    // The next request of the function is answered with a failure: with its function number (even,
    // as a refusal) or without any.
    void failNext(int funcID, std::string errMsg, bool withFuncID = true);
    // How an accepted cancel answers: a row with "1208" (the default), a row without it, no row.
    enum class CancelReply { WithText, WithoutText, NoRow };
    void setCancelReply(CancelReply reply) { cancelReply_ = reply; }
    // The funds of a second, secondary money account come first in the funds reply.
    void setSecondaryFundsFirst(bool first) { secondaryFirst_ = first; }
    // The bank list answered from now on (empty: a list without rows); a new code gets a balance
    // of 50000.00, and a bank left out refuses transfers and balance queries.
    void setBanks(std::vector<BankRow> banks);
    // Whether the balance reply holds "1194".
    void setBalanceField(bool present) { balanceField_ = present; }
    // Makes the book trade like a broker: the holdings list shows the account's holdings, a buy
    // freezes its money and a sell its shares (refused beyond the available funds or the sellable
    // shares), a cancel releases them, and a fill moves them: money into holdings, shares into money.
    void trade();
    // Fills every open order at its price and answers how many filled; a broker's matching engine,
    // which the stand-alone gateway runs every few seconds.
    int fillOpenOrders();
    // Shares of a holding in the trading book, sellable ones and the average cost in cents.
    struct Holding {
        std::string name;
        long volume = 0, frozen = 0, costCents = 0;
    };
    std::optional<Holding> holding(const std::string &code) const;

    // Available funds of a currency, in cents.
    long funds(int currency) const { return funds_.at(currency); }
    long bankBalance(const std::string &bank) const { return banks_.at(bank); }
    // Today's order with that number; none when there is none.
    std::optional<std::map<int, std::string>> order(const std::string &number) const;
    // Dates of the rows of a list, in list order.
    std::vector<std::string> dates(int funcID) const;
    // A day `days` before today, yyyyMMdd.
    std::string daysBefore(int days) const;

private:
    using Row = std::map<int, std::string>;

    std::optional<std::string> reply(const TradeRequest &request);
    std::string listReply(const TradeRequest &request, const std::vector<Row> &rows, bool dated);
    // A list row as the broker shows it in the list `funcID`: Shenzhen holdings under the Shenzhen
    // shareholder code; orders and deals with the texts of direction and
    // state, date and time, whether it can be cancelled, and the deal amount and price.
    static Row shownRow(int funcID, const Row &row);
    std::string fundsReply() const;
    std::string placeOrder(const TradeRequest &request);
    std::string cancel(const TradeRequest &request);
    std::string transfer(const TradeRequest &request);
    std::string balance(const TradeRequest &request) const;
    std::string banks() const;
    Row transferRow(int n, const std::string &bank, int currency, long cents, bool toSecurities,
                    const std::string &date) const;
    // The field a dated list keeps its date in.
    static int dateField(int funcID) { return funcID == 11124 ? kTransferDate : kRowDate; }
    static constexpr int kTransferDate = 1045;
    std::string securityInfo(const TradeRequest &request) const;
    std::string canBuyVolume(const TradeRequest &request) const;
    std::vector<Row> &list(int funcID);
    Row orderRow(int n, const std::string &date) const;
    std::vector<Row> holdingRows() const;
    // The money an order freezes, in cents.
    static long orderCents(const Row &order);
    // The money today's open buys froze, and the holdings' value at cost, in cents.
    long frozenCents() const;
    long holdingsValueCents() const;

    TradeGateway &gateway_;
    std::string today_;
    std::map<int, long> funds_;
    std::map<std::string, long> banks_;
    std::vector<BankRow> bankRows_ = standardBanks();
    int nextSerial_ = 100;
    std::map<int, std::vector<Row>> lists_;
    std::map<int, std::pair<std::string, bool>> failures_;
    int nextOrder_ = 0;
    bool totals_ = true;
    bool secondaryFirst_ = false;
    bool balanceField_ = true;
    CancelReply cancelReply_ = CancelReply::WithText;
    bool trading_ = false;
    std::map<std::string, Holding> holdings_;
    std::optional<MarketFixture> market_;
};

} // namespace peers
