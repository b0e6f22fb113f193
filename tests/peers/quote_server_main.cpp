// The loopback quote server on its own, as the local default quote service:
//   qv_quote_server --port N [--nav-port M] [--account NAME:PASSWORD]... [--quotes-date YYYYMMDD]
//                   [--broker NAME:GATEWAY_PORT[:INITIAL[:PHONE_CHECK]]]... [--seed S] [--minute M]
//                   [--live] [--verify-port V [--verify-mobile MOBILE:CODE]...]
//                   [--order-size-rates R1,R2,R3,R4,R5,R6]
// It serves the whole made-up market of seed S (default 1), the day standing at trading minute M
// (0 the open; default the close). With --live the day moves one trading minute every few real
// seconds, from 10:30 unless a minute is given. Accounts have every right, level-2 included. Each
// broker names this server as its quote address for the phone check; with --verify-port, the
// mobile verification pair instead, its navigation server on port V answering with the address of
// a code server that knows each mobile's check code.
// A made-up breaking-news item arrives every minute, so that a client shows its tips.
// With --order-size-rates every stock's big orders carry those six order-size rates (buy medium,
// large, extra-large, sell the same, in 1/10,000 of the volume), hostile ones included.
// Port 0 takes a free port; the ports in use are printed. Runs until interrupted.

#include "peers/NavigationServer.h"
#include "peers/QuoteServer.h"
#include "peers/VerificationPair.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Arguments {
    std::optional<int> port;
    std::optional<int> navPort;
    std::optional<int> verifyPort;
    std::vector<std::pair<std::string, std::string>> verifyMobiles;
    std::vector<std::pair<std::string, std::string>> accounts;
    int quotesDate = peers::MarketFixture::DefaultQuotesDate;
    std::vector<peers::GatewayBroker> brokers;
    uint32_t seed = 1;
    std::optional<int> minute;
    bool live = false;
    std::optional<peers::QuoteServer::OrderSizeRates> orderSizeRates;
};

// Real seconds per trading minute of a live day.
constexpr double LiveSecondsPerMinute = 3.0;
// Where a live day starts when no minute is given: 10:30.
constexpr int LiveStartMinute = 60;

// How often the stand-alone server has a new breaking-news item, and what it says.
constexpr int NewsEverySeconds = 60;

std::string madeUpNews(int serial) {
    static const char *const texts[] = {
        "沪深两市震荡整理，券商板块异动拉升。", "北向资金净流入扩大，消费板块走强。",
        "创业板指翻红，半导体板块午后发力。", "两市成交额较上一交易日温和放大。"};
    return texts[size_t(serial) % std::size(texts)];
}

std::optional<int> portNumber(const char *text) {
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 65535)
        return std::nullopt;
    return int(value);
}

// NAME:GATEWAY_PORT[:INITIAL[:PHONE_CHECK]]: the index letter defaults to B, the phone-check
// variant (attribute "4") to none.
std::optional<peers::GatewayBroker> brokerOf(const std::string &text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ':');)
        parts.push_back(part);
    std::optional<int> port = parts.size() >= 2 ? portNumber(parts[1].c_str()) : std::nullopt;
    if (!port || parts[0].empty() || parts.size() > 4 || (parts.size() >= 3 && parts[2].size() != 1))
        return std::nullopt;
    peers::GatewayBroker broker{parts[0], parts.size() >= 3 ? parts[2][0] : 'B', {uint16_t(*port)}};
    if (parts.size() == 4)
        broker.phoneCheck = std::atoi(parts[3].c_str());
    return broker;
}

// Six comma-separated rates, each within a Short.
std::optional<peers::QuoteServer::OrderSizeRates> ratesOf(const std::string &text) {
    peers::QuoteServer::OrderSizeRates rates{};
    std::stringstream in(text);
    size_t n = 0;
    for (std::string part; std::getline(in, part, ',');) {
        char *end = nullptr;
        long value = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end != '\0' || value < INT16_MIN || value > INT16_MAX || n == rates.size())
            return std::nullopt;
        rates[n++] = int16_t(value);
    }
    if (n != rates.size())
        return std::nullopt;
    return rates;
}

std::optional<Arguments> parse(int argc, char **argv) {
    Arguments args;
    std::vector<char *> pairs;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--live")
            args.live = true;
        else
            pairs.push_back(argv[i]);
    }
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        std::string option = pairs[i];
        const char *value = pairs[i + 1];
        if (option == "--port") {
            args.port = portNumber(value);
            if (!args.port)
                return std::nullopt;
        } else if (option == "--nav-port") {
            args.navPort = portNumber(value);
            if (!args.navPort)
                return std::nullopt;
        } else if (option == "--verify-port") {
            args.verifyPort = portNumber(value);
            if (!args.verifyPort)
                return std::nullopt;
        } else if (option == "--account" || option == "--verify-mobile") {
            std::string account = value;
            size_t colon = account.find(':');
            if (colon == std::string::npos)
                return std::nullopt;
            (option == "--account" ? args.accounts : args.verifyMobiles)
                .emplace_back(account.substr(0, colon), account.substr(colon + 1));
        } else if (option == "--broker") {
            std::optional<peers::GatewayBroker> broker = brokerOf(value);
            if (!broker)
                return std::nullopt;
            args.brokers.push_back(*broker);
        } else if (option == "--quotes-date") {
            args.quotesDate = std::atoi(value);
        } else if (option == "--seed") {
            args.seed = uint32_t(std::strtoul(value, nullptr, 10));
        } else if (option == "--minute") {
            args.minute = std::atoi(value);
        } else if (option == "--order-size-rates") {
            args.orderSizeRates = ratesOf(value);
            if (!args.orderSizeRates)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (pairs.size() % 2 != 0 || !args.port)
        return std::nullopt;
    return args;
}

} // namespace

int main(int argc, char **argv) {
    std::optional<Arguments> args = parse(argc, argv);
    if (!args) {
        std::fprintf(stderr,
                     "usage: %s --port N [--nav-port M] [--account NAME:PASSWORD]... "
                     "[--quotes-date YYYYMMDD] [--broker NAME:GATEWAY_PORT[:INITIAL[:PHONE_CHECK]]]... "
                     "[--seed S] [--minute M] "
                     "[--live] [--verify-port V [--verify-mobile MOBILE:CODE]...] "
                     "[--order-size-rates R1,R2,R3,R4,R5,R6]\n",
                     argv[0]);
        return 2;
    }
    // The servers' threads inherit the blocked signals, so that only sigwait below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    peers::QuoteServer quotes(uint16_t(*args->port), peers::MarketFixture::whole(args->seed));
    if (quotes.port() == 0) {
        std::fprintf(stderr, "qv_quote_server: cannot listen on port %d\n", *args->port);
        return 1;
    }
    quotes.setQuotesDate(args->quotesDate);
    if (args->minute || args->live)
        quotes.setMarketMinute(args->minute.value_or(LiveStartMinute));
    if (args->live)
        quotes.moveWith(&base::Clock::current(), LiveSecondsPerMinute);
    std::unique_ptr<peers::VerificationPair> verification;
    if (args->verifyPort) {
        verification = std::make_unique<peers::VerificationPair>(uint16_t(*args->verifyPort));
        if (!verification->listening()) {
            std::fprintf(stderr, "qv_quote_server: cannot listen on port %d\n", *args->verifyPort);
            return 1;
        }
        for (const auto &[mobile, code] : args->verifyMobiles)
            verification->addMobile(mobile, code);
        std::printf("verification pair on 127.0.0.1:%d\n", verification->navigation().port());
    }
    for (peers::GatewayBroker &broker : args->brokers)
        broker.quotePorts = {verification ? verification->navigation().port() : quotes.port()};
    quotes.setBrokers(args->brokers);
    quotes.setOrderSizeRates(args->orderSizeRates);
    for (const auto &[name, password] : args->accounts)
        quotes.addAccount(name, password);
    quotes.addNews("沪深两市早盘小幅高开，银行板块领涨。");
    quotes.addNews("午后两市震荡走高，成交量温和放大。");
    std::printf("quote server on 127.0.0.1:%d\n", quotes.port());

    std::unique_ptr<peers::NavigationServer> navigation;
    if (args->navPort) {
        navigation = std::make_unique<peers::NavigationServer>(
            peers::NavigationInfo::pointingAt(quotes.port()), uint16_t(*args->navPort));
        if (navigation->port() == 0) {
            std::fprintf(stderr, "qv_quote_server: cannot listen on port %d\n", *args->navPort);
            return 1;
        }
        std::printf("navigation server on 127.0.0.1:%d\n", navigation->port());
    }
    std::fflush(stdout);

    // Waits for the end, adding one item a minute meanwhile.
    const timespec wait{NewsEverySeconds, 0};
    for (int serial = 0; sigtimedwait(&signals, nullptr, &wait) < 0; ++serial)
        quotes.addNews(madeUpNews(serial));
    return 0;
}
