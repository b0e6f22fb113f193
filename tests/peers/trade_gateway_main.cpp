// The loopback trade gateway on its own, as the local default broker:
//   qv_trade_gateway --port N [--account BROKER:MOBILE:CODE:ACCOUNT:PASSWORD]... [--book]
// With --book the accounts share one account book dated today: funds, holdings, orders, deals,
// banks and transfers, trading like a broker: a buy freezes money, a sell shares, a cancel releases
// them, and open orders fill every 20 seconds; it answers the security query for every code of the
// whole made-up market the quote server serves. Port 0 takes a free port; the
// port in use is printed. Runs until interrupted.

#include "peers/TradeAccountBook.h"
#include "peers/TradeGateway.h"

#include "base/RunLoop.h"
#include "base/Timer.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Arguments {
    std::optional<int> port;
    std::vector<peers::GatewayAccount> accounts;
    bool book = false;
};

// Open orders fill this often, so that a user can still cancel one in between.
constexpr double FillSeconds = 20.0;

std::string today() {
    std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", std::localtime(&now));
    return text;
}

std::optional<int> portNumber(const char *text) {
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 65535)
        return std::nullopt;
    return int(value);
}

std::optional<peers::GatewayAccount> account(const std::string &text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ':');)
        parts.push_back(part);
    if (parts.size() != 5)
        return std::nullopt;
    return peers::GatewayAccount{parts[0], parts[1], parts[2], parts[3], parts[4]};
}

std::optional<Arguments> parse(int argc, char **argv) {
    Arguments args;
    std::vector<char *> pairs;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--book")
            args.book = true;
        else
            pairs.push_back(argv[i]);
    }
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        std::string option = pairs[i];
        if (option == "--port") {
            args.port = portNumber(pairs[i + 1]);
            if (!args.port)
                return std::nullopt;
        } else if (option == "--account") {
            auto parsed = account(pairs[i + 1]);
            if (!parsed)
                return std::nullopt;
            args.accounts.push_back(*parsed);
        } else {
            return std::nullopt;
        }
    }
    if (pairs.size() % 2 != 0 || !args.port)
        return std::nullopt;
    return args;
}

// The banks a user of the stand-alone gateway has linked: named as a broker names them, with
// their own password rules, one of them in dollars.
std::vector<peers::TradeAccountBook::BankRow> linkedBanks() {
    return {
        {"1001", "工商银行", 0, 1, 2, 1}, {"1002", "招商银行", 0, 3, 3, 3}, {"1003", "中国银行", 1, 0, 2, 1}};
}

} // namespace

int main(int argc, char **argv) {
    std::optional<Arguments> args = parse(argc, argv);
    if (!args) {
        std::fprintf(stderr,
                     "usage: %s --port N [--account BROKER:MOBILE:CODE:ACCOUNT:PASSWORD]... [--book]\n",
                     argv[0]);
        return 2;
    }
    peers::TradeGateway gateway(uint16_t(*args->port));
    if (gateway.port() == 0) {
        std::fprintf(stderr, "qv_trade_gateway: cannot listen on port %d\n", *args->port);
        return 1;
    }
    for (const auto &account : args->accounts)
        gateway.addAccount(account);
    std::optional<peers::TradeAccountBook> book;
    base::Ref<base::Timer> matching;
    if (args->book) {
        book.emplace(gateway, today());
        book->trade();
        book->setMarket(peers::MarketFixture::whole());
        book->setBanks(linkedBanks());
        matching = base::Timer::scheduled(
            FillSeconds, true, base::Action("fill", [&book](base::Object *) { book->fillOpenOrders(); }));
    }
    std::printf("trade gateway on 127.0.0.1:%d\n", gateway.port());
    std::fflush(stdout);
    base::RunLoop::main().run();
    return 0;
}
