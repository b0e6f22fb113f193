// Series replies of the loopback quote server: an index's member counts (2206), rise/fall line
// (2965) and contributions (2929), ticks (2970), deals (2971), the big orders of a stock (2976) and
// of a market (2977), the boards of a stock (2969) and the fund series (2311–2314). The contents
// come from `MarketSeries`; an unknown code gets an empty reply.
#include "MarketSeries.h"
#include "QuoteServer.h"

#include <algorithm>

namespace peers {

namespace {

constexpr uint16_t RiseFallCountType = 2206;
constexpr uint16_t FundValuesType = 2311;
constexpr uint16_t FundHoldingsType = 2312;
constexpr uint16_t FundSharesType = 2313;
constexpr uint16_t FundOwnersType = 2314;
constexpr uint16_t ContributionType = 2929;
constexpr uint16_t RiseFallLineType = 2965;
constexpr uint16_t StockBoardsType = 2969;
constexpr uint16_t TickType = 2970;
constexpr uint16_t DealType = 2971;
constexpr uint16_t StockBigOrderType = 2976;
constexpr uint16_t MarketBigOrderType = 2977;
constexpr uint32_t OuterBit = 0x80000000u;

// The rows [first, end) a paged request asks for: `count` rows from `position`, or with a negative
// count the rows before `position` (before the end when it is negative too).
struct Page {
    size_t first = 0, end = 0;
};

Page page(size_t total, int32_t position, int32_t count) {
    if (count < 0) {
        size_t end = position < 0 ? total : std::min(size_t(position), total);
        return {end - std::min(end, size_t(-int64_t(count))), end};
    }
    size_t first = std::min(size_t(std::max(position, 0)), total);
    return {first, std::min(first + size_t(count), total)};
}

void writeInts(base::Data &body, std::initializer_list<int32_t> fields) {
    for (int32_t field : fields)
        ComAPI::WriteInt(body, field);
}

// Request: String code, Int position, Short count. Reply: for ticks the Byte futures flag first;
// Int first position, Short n, rows of Int time, Int price with the outer flag in bit 31, Int
// volume, and for a future's ticks Int open interest.
base::Data dealsBody(const std::vector<MarketSeries::Deal> &all, ByteView request, uint32_t pos, bool ticks) {
    int32_t position = ComAPI::ReadInt(request, pos);
    Page rows = page(all.size(), position, ComAPI::ReadShort(request, pos));
    base::Data body;
    bool futures =
        ticks && std::any_of(all.begin(), all.end(), [](const auto &deal) { return deal.hold > 0; });
    if (ticks)
        ComAPI::WriteByte(body, futures ? 1 : 0);
    ComAPI::WriteInt(body, int32_t(rows.first));
    ComAPI::WriteShort(body, int32_t(rows.end - rows.first));
    for (size_t i = rows.first; i < rows.end; ++i) {
        const MarketSeries::Deal &deal = all[i];
        writeInts(body,
                  {deal.time, int32_t(uint32_t(deal.price) | (deal.outer ? OuterBit : 0)), deal.volume});
        if (futures)
            ComAPI::WriteInt(body, deal.hold);
    }
    return body;
}

// Request: String code, Short position, Short count. Reply: ten Shorts of the day's ratios, four
// Shorts 0, Short first position, Short n, rows of Byte kind, then for kinds 0–5 Short time and Int
// volume, for others six bytes.
base::Data stockBigOrderBody(MarketSeries::StockBigOrders day, ByteView request, uint32_t pos,
                             const std::optional<QuoteServer::OrderSizeRates> &rates) {
    if (rates)
        std::copy(rates->begin(), rates->end(), day.ratios.begin());
    int32_t position = ComAPI::ReadShort(request, pos);
    Page rows = page(day.orders.size(), position, ComAPI::ReadShort(request, pos));
    base::Data body;
    for (int16_t ratio : day.ratios)
        ComAPI::WriteShort(body, ratio);
    for (int i = 0; i < 4; ++i)
        ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, int32_t(rows.first));
    ComAPI::WriteShort(body, int32_t(rows.end - rows.first));
    for (size_t i = rows.first; i < rows.end; ++i) {
        const MarketSeries::BigOrder &order = day.orders[i];
        ComAPI::WriteByte(body, order.type);
        ComAPI::WriteShort(body, order.time);
        ComAPI::WriteInt(body, order.volume);
    }
    return body;
}

// Request: String market prefix, Short position, Short count. Reply: Short first position, Short
// n, rows of String code, String name, Byte kind, Short time, Int volume.
base::Data marketBigOrderBody(const MarketSeries &series, ByteView request) {
    uint32_t pos = 0;
    std::vector<MarketSeries::BigOrder> orders = series.marketBigOrders(ComAPI::ReadString(request, pos));
    base::Data body;
    if (orders.empty())
        return body;
    int32_t position = ComAPI::ReadShort(request, pos);
    Page rows = page(orders.size(), position, ComAPI::ReadShort(request, pos));
    ComAPI::WriteShort(body, int32_t(rows.first));
    ComAPI::WriteShort(body, int32_t(rows.end - rows.first));
    for (size_t i = rows.first; i < rows.end; ++i) {
        ComAPI::WriteString(body, orders[i].code);
        ComAPI::WriteString(body, orders[i].name);
        ComAPI::WriteByte(body, orders[i].type);
        ComAPI::WriteShort(body, orders[i].time);
        ComAPI::WriteInt(body, orders[i].volume);
    }
    return body;
}

// Request: two bytes of the market prefix, Byte order type, Short 0, Short count. Reply: Short n,
// rows of String code, String name, Int points × 100, Short rise.
base::Data contributionBody(const MarketSeries &series, ByteView request) {
    uint32_t pos = 0;
    char prefix[2] = {};
    ComAPI::ReadData(request, pos, prefix, 2);
    int orderType = ComAPI::ReadByte(request, pos);
    ComAPI::ReadShort(request, pos);
    size_t count = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
    std::vector<MarketSeries::Contribution> rows =
        series.contributions(std::string_view(prefix, 2), orderType);
    base::Data body;
    if (rows.empty())
        return body;
    rows.resize(std::min(rows.size(), count));
    ComAPI::WriteShort(body, int32_t(rows.size()));
    for (const MarketSeries::Contribution &row : rows) {
        ComAPI::WriteString(body, row.code);
        ComAPI::WriteString(body, row.name);
        ComAPI::WriteInt(body, row.points);
        ComAPI::WriteShort(body, row.rise);
    }
    return body;
}

// Short n and n rows written by `write`; nothing at all for no rows.
template <class Row, class Write> base::Data rowsBody(const std::vector<Row> &rows, Write &&write) {
    base::Data body;
    if (rows.empty())
        return body;
    ComAPI::WriteShort(body, int32_t(rows.size()));
    for (const Row &row : rows)
        write(body, row);
    return body;
}

// Requests that carry a code first; `rates` stand in for the order-size rates of big-order replies.
base::Data securityBody(const MarketSeries &series, uint16_t type, const Security &security, ByteView request,
                        uint32_t pos, const std::optional<QuoteServer::OrderSizeRates> &rates) {
    switch (type) {
    case RiseFallCountType: {
        auto count = security.type == 0 ? series.riseFallCount(security) : std::nullopt;
        base::Data body;
        if (!count)
            return body;
        for (int16_t field : {count->rise, count->plane, count->fall})
            ComAPI::WriteShort(body, field);
        writeInts(body,
                  {count->avePrice, count->weightingAvePrice, count->circulatedValue, count->totalValue});
        return body;
    }
    case RiseFallLineType: {
        // From the last point held, which is sent again, to the newest.
        std::vector<int8_t> line = series.riseFallLine(security);
        size_t first = std::min(size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0)), line.size());
        return rowsBody(std::vector<int8_t>(line.begin() + std::ptrdiff_t(first), line.end()),
                        [](base::Data &body, int8_t value) { ComAPI::WriteByte(body, value); });
    }
    case TickType:
        return dealsBody(series.ticks(security), request, pos, true);
    case DealType:
        return dealsBody(series.deals(security), request, pos, false);
    case StockBigOrderType:
        return stockBigOrderBody(series.stockBigOrders(security), request, pos, rates);
    case StockBoardsType:
        return rowsBody(series.stockBoards(security),
                        [](base::Data &body, const MarketSeries::BoardRow &row) {
                            ComAPI::WriteString(body, row.board.fullCode());
                            ComAPI::WriteString(body, row.board.name);
                            ComAPI::WriteByte(body, row.board.decimal);
                            writeInts(body, {row.last, row.range});
                            ComAPI::WriteShort(body, row.id);
                        });
    case FundValuesType:
        return rowsBody(series.fundValues(security),
                        [](base::Data &body, const MarketSeries::FundValue &row) {
                            writeInts(body, {row.date, row.value, row.second});
                        });
    case FundHoldingsType:
        return rowsBody(
            series.fundHoldings(security), [](base::Data &body, const MarketSeries::FundHolding &row) {
                ComAPI::WriteString(body, row.code);
                ComAPI::WriteString(body, row.name);
                writeInts(body, {row.priorHoldVol, row.holdVol, row.inFundRate, row.inCapitalRate});
            });
    case FundSharesType:
        return rowsBody(series.fundShares(security),
                        [](base::Data &body, const MarketSeries::FundShares &row) {
                            writeInts(body, {row.date, row.beginning, row.bought, row.sold});
                        });
    case FundOwnersType:
        return rowsBody(
            series.fundOwners(security), [](base::Data &body, const MarketSeries::FundOwners &row) {
                writeInts(body, {row.date, row.count, row.averageShares, row.institutions, row.individuals});
            });
    default:
        return {};
    }
}

} // namespace

MarketSeries QuoteServer::makeSeries() const {
    std::vector<MarketSeries::Board> listed;
    for (const Security &board : boards())
        listed.push_back({board, boardListID(board)});
    return MarketSeries(
        market_, [this](std::string_view code) { return findAnywhere(code); }, std::move(listed));
}

void QuoteServer::setOrderSizeRates(std::optional<OrderSizeRates> rates) {
    std::lock_guard lock(stateMutex_);
    orderSizeRates_ = rates;
}

MarketSeries QuoteServer::series() const {
    std::lock_guard lock(stateMutex_);
    return makeSeries();
}

std::optional<base::Data> QuoteServer::seriesReply(const ReceivedFrame &request) const {
    switch (request.type) {
    case ContributionType:
        return contributionBody(makeSeries(), request.bytes());
    case MarketBigOrderType:
        return marketBigOrderBody(makeSeries(), request.bytes());
    case RiseFallCountType:
    case FundValuesType:
    case FundHoldingsType:
    case FundSharesType:
    case FundOwnersType:
    case RiseFallLineType:
    case StockBoardsType:
    case TickType:
    case DealType:
    case StockBigOrderType: {
        ByteView bytes = request.bytes();
        uint32_t pos = 0;
        const Security *security = findAnywhere(ComAPI::ReadString(bytes, pos));
        return security ? securityBody(makeSeries(), request.type, *security, bytes, pos, orderSizeRates_)
                        : base::Data();
    }
    default:
        return std::nullopt;
    }
}

} // namespace peers
