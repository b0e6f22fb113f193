// Per-security replies of the loopback quote server: base info, the order book and level-2 depth.
#include "QuoteServer.h"

#include "QuoteRow.h"

#include <algorithm>
#include <array>

namespace peers {

namespace {

// Securities outside the code tables that detail and list screens open: a board index and the US
// dollar index.
const Security ExtraSecurities[] = {
    {"BI", "000101", "银行板块", "YHBK", 0, 2, 100000},
    {"IX", "UDI", "美元指数", "MYZS", 0, 2, 8012},
};

constexpr int16_t LotShares = 100;
constexpr int BookHalf = OrderBook::Levels / 2;

// Five levels a side from level `first`: Short 10, the asks farthest first, then the bids best
// first.
void writeBook(base::Data &body, const OrderBook &book, int first) {
    ComAPI::WriteShort(body, 2 * BookHalf);
    for (int i = first + BookHalf - 1; i >= first; --i) {
        ComAPI::WriteInt(body, book.askPrice[size_t(i)]);
        ComAPI::WriteInt(body, book.askVolume[size_t(i)]);
    }
    for (int i = first; i < first + BookHalf; ++i) {
        ComAPI::WriteInt(body, book.bidPrice[size_t(i)]);
        ComAPI::WriteInt(body, book.bidVolume[size_t(i)]);
    }
}

} // namespace

const Security *QuoteServer::findAnywhere(std::string_view code) const {
    if (const Security *security = market_.find(code))
        return security;
    if (const Security *fund = MarketFixture::findFund(code))
        return fund;
    for (const Security &extra : ExtraSecurities)
        if (extra.fullCode() == code)
            return &extra;
    return shellSecurity(code);
}

// Requests carry the code first.
std::optional<base::Data> QuoteServer::detailReply(const ReceivedFrame &request) const {
    if (request.type != BaseInfoType && request.type != FundBaseInfoType && request.type != DynamicInfoType &&
        request.type != Level2PanType)
        return std::nullopt;
    ByteView bytes = request.bytes();
    uint32_t pos = 0;
    const Security *security = findAnywhere(ComAPI::ReadString(bytes, pos));
    base::Data body;
    if (!security)
        return body;
    QuoteRow row = QuoteRow::of(market_, *security);
    const Quote &quote = row.quote;
    bool future = security->type == MarketFixture::FutureType;
    switch (request.type) {
    case BaseInfoType:
        ComAPI::WriteString(body, security->fullCode());
        ComAPI::WriteString(body, security->name);
        ComAPI::WriteByte(body, security->type);
        ComAPI::WriteByte(body, security->decimal);
        ComAPI::WriteShort(body, LotShares);
        for (int32_t field : {security->closePrice, row.upLimit, row.downLimit,
                              future ? row.yposition : row.circulated, future ? row.ysettlement : row.total})
            ComAPI::WriteInt(body, field);
        break;
    case FundBaseInfoType:
        ComAPI::WriteString(body, security->fullCode());
        ComAPI::WriteString(body, security->name);
        ComAPI::WriteByte(body, security->type);
        ComAPI::WriteByte(body, security->decimal);
        break;
    case DynamicInfoType: {
        ComAPI::WriteByte(body, future ? 1 : 0);
        std::vector<MinutePoint> minutes = market_.minutes(*security);
        int32_t average = minutes.empty() ? 0 : minutes.back().ave;
        for (int32_t field : {quote.last, quote.open, quote.high, quote.low, quote.volume, quote.amount,
                              row.inner, row.lastDeal, average})
            ComAPI::WriteInt(body, field);
        if (future)
            for (int32_t field : {row.settlement, row.position, row.position - row.yposition})
                ComAPI::WriteInt(body, field);
        ComAPI::WriteShort(body, row.liangbi);
        writeBook(body, QuoteRow::book(market_, *security), 0);
        break;
    }
    case Level2PanType:
        if (!(sessionRights_ & Level2Right))
            break;
        for (int i = 0; i < 4; ++i)
            ComAPI::WriteInt(body, quote.volume / (i + 2));
        writeBook(body, QuoteRow::book(market_, *security), BookHalf);
        break;
    default:
        break;
    }
    return body;
}

} // namespace peers
