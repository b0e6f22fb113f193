#include "MarketSeries.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int MoneyFundType = 5;
constexpr int IndexType = 0;
constexpr int StockType = 1;

int32_t pow10(int decimal) {
    int32_t scale = 1;
    for (int i = 0; i < decimal; ++i)
        scale *= 10;
    return scale;
}

// Rise over the previous close in percent × 10^decimal.
int32_t riseOf(int32_t last, int32_t close, int decimal) {
    return close > 0 ? int32_t(int64_t(last - close) * 100 * pow10(decimal) / close) : 0;
}

// The volume traded in each intraday minute.
std::vector<int32_t> minuteVolumes(const std::vector<MinutePoint> &minutes) {
    std::vector<int32_t> volumes;
    int32_t before = 0;
    for (const MinutePoint &m : minutes) {
        volumes.push_back(m.totalVol - before);
        before = m.totalVol;
    }
    return volumes;
}

// The last day of each of the `count` quarters ending before `date`, oldest first.
std::vector<int32_t> quarterEnds(int32_t date, int count) {
    int year = date / 10000;
    int month = (date / 100 % 100 - 1) / 3 * 3;
    std::vector<int32_t> ends;
    for (int i = 0; i < count; ++i) {
        if (month == 0) {
            month = 12;
            --year;
        }
        ends.push_back(year * 10000 + month * 100 + (month == 3 || month == 12 ? 31 : 30));
        month -= 3;
    }
    std::reverse(ends.begin(), ends.end());
    return ends;
}

} // namespace

MarketSeries::MarketSeries(MarketFixture market, Finder find, std::vector<Board> boards)
    : market_(std::move(market)), find_(std::move(find)), boards_(std::move(boards)) {}

std::vector<Security> MarketSeries::members(std::string_view prefix) const {
    std::vector<Security> found = market_.market(prefix);
    std::erase_if(found, [](const Security &security) { return security.type != StockType; });
    return found;
}

const Security *MarketSeries::indexOf(std::string_view prefix) const {
    for (const Security &security : market_.securities())
        if (security.market == prefix && security.type == IndexType)
            return &security;
    return nullptr;
}

std::optional<MarketSeries::RiseFallCount> MarketSeries::riseFallCount(const Security &index) const {
    std::vector<Security> stocks = members(index.market);
    std::vector<MinutePoint> minutes = market_.minutes(index);
    if (stocks.empty() || minutes.empty())
        return std::nullopt;
    RiseFallCount count;
    int64_t circulated = 0, total = 0;
    for (const Security &stock : stocks) {
        int32_t last = market_.quote(stock).last;
        (last > stock.closePrice ? count.rise : last < stock.closePrice ? count.fall : count.plane)++;
        // Shares in 亿, made up per stock.
        int64_t shares = 5 + MarketFixture::noise(stock.fullCode(), 1) % 195;
        int64_t value = int64_t(last) * shares / pow10(stock.decimal);
        circulated += value;
        total += value * (100 + MarketFixture::noise(stock.fullCode(), 2) % 80) / 100;
    }
    std::vector<int32_t> volumes = minuteVolumes(minutes);
    int64_t sum = 0, weighted = 0, volume = 0;
    for (size_t i = 0; i < minutes.size(); ++i) {
        sum += minutes[i].price;
        weighted += int64_t(minutes[i].price) * volumes[i];
        volume += volumes[i];
    }
    count.avePrice = int32_t(sum / int64_t(minutes.size()));
    count.weightingAvePrice = volume > 0 ? int32_t(weighted / volume) : count.avePrice;
    count.circulatedValue = int32_t(circulated);
    count.totalValue = int32_t(total);
    return count;
}

std::vector<int8_t> MarketSeries::riseFallLine(const Security &index) const {
    std::vector<Security> stocks = members(index.market);
    std::vector<MinutePoint> minutes = market_.minutes(index);
    if (stocks.empty())
        return {};
    std::vector<int> balance(minutes.size());
    for (const Security &stock : stocks) {
        std::vector<MinutePoint> own = market_.minutes(stock);
        for (size_t i = 0; i < balance.size() && i < own.size(); ++i)
            balance[i] += own[i].price > stock.closePrice ? 1 : own[i].price < stock.closePrice ? -1 : 0;
    }
    std::vector<int8_t> line;
    for (int b : balance)
        line.push_back(int8_t(b * 100 / int(stocks.size())));
    return line;
}

std::vector<MarketSeries::Contribution> MarketSeries::contributions(std::string_view prefix,
                                                                    int orderType) const {
    const Security *index = indexOf(prefix);
    std::vector<Security> stocks = members(prefix);
    if (!index || stocks.empty())
        return {};
    int64_t closes = 0;
    for (const Security &stock : stocks)
        closes += stock.closePrice;
    std::vector<Contribution> rows;
    for (const Security &stock : stocks) {
        int32_t last = market_.quote(stock).last;
        // A price-weighted index: each member moves it by its own price change.
        auto points = int32_t(int64_t(last - stock.closePrice) * index->closePrice / closes);
        rows.push_back({stock.fullCode(), stock.name, points, int16_t(riseOf(last, stock.closePrice, 2))});
    }
    std::sort(rows.begin(), rows.end(), [](const Contribution &a, const Contribution &b) {
        return a.points != b.points ? a.points > b.points : a.code < b.code;
    });
    if (orderType != 1)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

std::vector<MarketSeries::Deal> MarketSeries::ticks(const Security &security) const {
    std::vector<MinutePoint> minutes = market_.minutes(security);
    std::vector<int32_t> volumes = minuteVolumes(minutes);
    std::vector<Deal> out;
    int32_t before = security.closePrice;
    for (size_t m = 0; m < minutes.size(); ++m) {
        int32_t start = before;
        int32_t share = volumes[m] / 4;
        for (int j = 1; j <= TicksPerMinute; ++j) {
            int32_t price = start + (minutes[m].price - start) * j / TicksPerMinute;
            int32_t volume = j < TicksPerMinute ? share : volumes[m] - share * (TicksPerMinute - 1);
            out.push_back(
                {minutes[m].time * 100 + (j - 1) * 20, price, std::max(volume, 1), price >= before});
            before = price;
        }
    }
    if (security.type == MarketFixture::FutureType) {
        // Each tick opens or closes up to half its volume in contracts.
        int32_t hold = int32_t(20000 + MarketFixture::noise(security.fullCode(), 17) % 30000);
        for (size_t k = 0; k < out.size(); ++k) {
            uint32_t n = MarketFixture::noise(security.fullCode(), int32_t(k));
            hold = std::max(hold + int32_t(n % 3) * out[k].volume / 4 - out[k].volume / 4, 0);
            out[k].hold = hold;
        }
    }
    return out;
}

std::vector<MarketSeries::Deal> MarketSeries::deals(const Security &security) const {
    std::vector<MinutePoint> minutes = market_.minutes(security);
    std::vector<int32_t> volumes = minuteVolumes(minutes);
    std::vector<Deal> out;
    int32_t before = security.closePrice;
    for (size_t m = 0; m < minutes.size(); ++m) {
        out.push_back(
            {minutes[m].time, minutes[m].price, std::max(volumes[m], 1), minutes[m].price >= before});
        before = minutes[m].price;
    }
    return out;
}

MarketSeries::StockBigOrders MarketSeries::stockBigOrders(const Security &security) const {
    std::vector<MinutePoint> minutes = market_.minutes(security);
    StockBigOrders day;
    if (minutes.empty())
        return day;
    int32_t volume = std::max(market_.quote(security).volume, 1);
    // Per side (buy, sell): medium, big and very big volumes; institutional; big and very big.
    std::array<std::array<int64_t, 3>, 2> classes{};
    std::array<int64_t, 2> institutional{}, big{};
    std::string code = security.fullCode();
    for (int k = 0; k < StockBigOrderCount; ++k) {
        uint32_t n = MarketFixture::noise(code, 1000 + k);
        BigOrder order;
        order.type = int(n % 7);
        order.time = int16_t(minutes[size_t(k) * minutes.size() / StockBigOrderCount].time);
        // Half a per cent to 2.4 % of the day's volume.
        order.volume = std::max(int32_t(int64_t(volume) * (5 + (n >> 8) % 20) / 1000), 1);
        day.orders.push_back(order);
        if (order.type == UnknownOrderKind)
            continue;
        int side = order.type % 2;
        int sizeClass = order.volume * 100 < volume ? 0 : order.volume * 50 < volume ? 1 : 2;
        classes[size_t(side)][size_t(sizeClass)] += order.volume;
        if (order.type >= 2)
            institutional[size_t(side)] += order.volume;
        if (sizeClass > 0)
            big[size_t(side)] += order.volume;
    }
    size_t i = 0;
    for (const auto &side : classes)
        for (int64_t v : side)
            day.ratios[i++] = int16_t(v * 10000 / volume);
    for (int64_t v : {institutional[0], institutional[1], big[0], big[1]})
        day.ratios[i++] = int16_t(v / 100);
    return day;
}

std::vector<MarketSeries::BigOrder> MarketSeries::marketBigOrders(std::string_view prefix) const {
    const Security *index = indexOf(prefix);
    std::vector<Security> stocks = members(prefix);
    if (!index || stocks.empty())
        return {};
    std::vector<MinutePoint> minutes = market_.minutes(*index);
    std::vector<BigOrder> orders;
    for (int k = 0; k < MarketBigOrderCount && !minutes.empty(); ++k) {
        uint32_t n = MarketFixture::noise(prefix, 2000 + k);
        const Security &stock = stocks[n % stocks.size()];
        int32_t volume = market_.quote(stock).volume;
        orders.push_back({stock.fullCode(), stock.name, int((n >> 8) % 6),
                          int16_t(minutes[size_t(k) * minutes.size() / MarketBigOrderCount].time),
                          std::max(int32_t(int64_t(volume) * (5 + (n >> 12) % 20) / 1000), 1)});
    }
    return orders;
}

std::vector<MarketSeries::FundValue> MarketSeries::fundValues(const Security &fund) const {
    if (fund.market != "OF")
        return {};
    std::vector<FundValue> values;
    for (const Candle &day : market_.dayCandles(fund, 0, FundValueDays)) {
        // A money-market fund's income per 10,000 shares gives its yield over a year of days.
        int32_t second = fund.type == MoneyFundType ? day.close * 365 / 100 : day.close + fund.closePrice / 4;
        values.push_back({day.time, day.close, second});
    }
    return values;
}

std::vector<MarketSeries::FundHolding> MarketSeries::fundHoldings(const Security &fund) const {
    if (fund.market != "OF")
        return {};
    std::vector<Security> stocks = members("SH");
    for (const Security &stock : members("SZ"))
        stocks.push_back(stock);
    std::string code = fund.fullCode();
    auto rank = [&code](const Security &stock) { return MarketFixture::noise(code + stock.fullCode(), 3); };
    std::sort(stocks.begin(), stocks.end(),
              [&rank](const Security &a, const Security &b) { return rank(a) < rank(b); });
    std::vector<FundHolding> rows;
    for (size_t i = 0; i < stocks.size() && rows.size() < FundHoldingCount; ++i) {
        uint32_t n = rank(stocks[i]);
        int32_t held = int32_t(200 + n % 4800);
        rows.push_back({stocks[i].fullCode(), stocks[i].name, held * int32_t(70 + (n >> 12) % 60) / 100, held,
                        900 - 70 * int32_t(i) + int32_t((n >> 8) % 20), int32_t(5 + (n >> 16) % 300)});
    }
    return rows;
}

std::vector<MarketSeries::FundShares> MarketSeries::fundShares(const Security &fund) const {
    if (fund.market != "OF")
        return {};
    std::string code = fund.fullCode();
    int32_t shares = int32_t(80000 + MarketFixture::noise(code, 4) % 120000);
    std::vector<FundShares> rows;
    for (int32_t end : quarterEnds(market_.quotesDate(), FundShareQuarters)) {
        uint32_t n = MarketFixture::noise(code, end);
        int32_t bought = shares * int32_t(5 + n % 15) / 100;
        int32_t sold = shares * int32_t(5 + (n >> 8) % 15) / 100;
        rows.push_back({end, shares, bought, sold});
        shares += bought - sold;
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::vector<MarketSeries::FundOwners> MarketSeries::fundOwners(const Security &fund) const {
    std::vector<FundOwners> rows;
    for (const FundShares &quarter : fundShares(fund)) {
        if (quarter.date % 10000 != 630 && quarter.date % 10000 != 1231)
            continue;
        if (int(rows.size()) == FundOwnerReports)
            break;
        uint32_t n = MarketFixture::noise(fund.fullCode(), quarter.date + 1);
        int32_t held = quarter.beginning + quarter.bought - quarter.sold;
        int32_t count = int32_t(5000 + n % 200000);
        int32_t institutions = held * int32_t(10 + (n >> 8) % 50) / 100;
        rows.push_back(
            {quarter.date, count, int32_t(int64_t(held) * 10000 / count), institutions, held - institutions});
    }
    return rows;
}

size_t MarketSeries::industryBoard(const Security &stock, size_t boardCount) {
    // The first board is the banks'.
    if (stock.name.find("银行") != std::string::npos)
        return 0;
    return 1 + MarketFixture::noise(stock.fullCode(), 5) % (boardCount - 1);
}

std::vector<size_t> MarketSeries::boardsOf(const Security &stock, size_t boardCount) {
    if (boardCount < 3 || stock.type != StockType)
        return {};
    size_t others = boardCount - 1;
    size_t industry = industryBoard(stock, boardCount);
    size_t theme = 1 + MarketFixture::noise(stock.fullCode(), 6) % others;
    if (theme == industry)
        theme = 1 + theme % others;
    return {industry, theme};
}

bool MarketSeries::inBoard(const Security &stock, size_t board, size_t boardCount) {
    std::vector<size_t> held = boardsOf(stock, boardCount);
    return std::find(held.begin(), held.end(), board) != held.end();
}

std::vector<MarketSeries::BoardRow> MarketSeries::stockBoards(const Security &stock) const {
    std::vector<BoardRow> rows;
    for (size_t i : boardsOf(stock, boards_.size())) {
        const Board &board = boards_[i];
        int32_t last = market_.quote(board.security).last;
        rows.push_back({board.security, last, riseOf(last, board.security.closePrice, board.security.decimal),
                        board.id});
    }
    return rows;
}

} // namespace peers
