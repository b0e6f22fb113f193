// Per-security replies of the loopback quote server: base info, the order book, level-2 depth, and
// the members of a board.
#include "QuoteServer.h"

#include <algorithm>
#include <array>

namespace peers {

namespace {

// Securities outside the code tables that detail and list screens open: open funds (a currency
// fund is fund type 5), a board index and the US dollar index.
const Security ExtraSecurities[] = {
    {"OF", "110022", "消费行业", "XFHY", 1, 3, 1234},
    {"OF", "000009", "天天理财", "TTLC", 5, 4, 10000},
    {"BI", "000101", "银行板块", "YHBK", 0, 2, 100000},
    {"IX", "UDI", "美元指数", "MYZS", 0, 2, 8012},
};

constexpr std::array<const char *, 8> BoardMembers = {"SH600000", "SH600016", "SH600036", "SH601398",
                                                      "SH601939", "SH601988", "SH601288", "SZ000001"};
constexpr int CodeListClassID = 106;
constexpr int16_t LotShares = 100;

} // namespace

const Security *QuoteServer::findAnywhere(std::string_view code) const {
    if (const Security *security = market_.find(code))
        return security;
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
    Quote quote = market_.find(security->fullCode()) ? market_.quote(*security) : Quote{security->closePrice,
                                                                                        security->closePrice,
                                                                                        security->closePrice,
                                                                                        security->closePrice,
                                                                                        0,
                                                                                        0};
    switch (request.type) {
    case BaseInfoType:
        ComAPI::WriteString(body, security->fullCode());
        ComAPI::WriteString(body, security->name);
        ComAPI::WriteByte(body, security->type);
        ComAPI::WriteByte(body, security->decimal);
        ComAPI::WriteShort(body, LotShares);
        for (int32_t field : {security->closePrice, security->closePrice * 11 / 10,
                              security->closePrice * 9 / 10, 100000, 200000})
            ComAPI::WriteInt(body, field);
        break;
    case FundBaseInfoType:
        ComAPI::WriteString(body, security->fullCode());
        ComAPI::WriteString(body, security->name);
        ComAPI::WriteByte(body, security->type);
        ComAPI::WriteByte(body, security->decimal);
        break;
    case DynamicInfoType:
        ComAPI::WriteByte(body, 0);
        for (int32_t field : {quote.last, quote.open, quote.high, quote.low, quote.volume, quote.amount,
                              quote.volume / 2, quote.volume % 100, (quote.high + quote.low) / 2})
            ComAPI::WriteInt(body, field);
        ComAPI::WriteShort(body, 100);
        ComAPI::WriteShort(body, 0);
        break;
    case Level2PanType:
        if (!(sessionRights_ & Level2Right))
            break;
        for (int i = 0; i < 4; ++i)
            ComAPI::WriteInt(body, quote.volume / (i + 2));
        ComAPI::WriteShort(body, 0);
        break;
    default:
        break;
    }
    return body;
}

// Request by class with the board's id: the members, as a code-list request would list them.
std::optional<base::Data> QuoteServer::boardMembers(ByteView request) const {
    uint32_t pos = 0;
    int classID = uint16_t(ComAPI::ReadShort(request, pos));
    if (classID != BoardID)
        return std::nullopt;
    int flags = ComAPI::ReadShort(request, pos);
    ComAPI::ReadByte(request, pos);
    ComAPI::ReadByte(request, pos);
    size_t start = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
    size_t count = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
    base::Data asCodes;
    ComAPI::WriteShort(asCodes, CodeListClassID);
    ComAPI::WriteShort(asCodes, flags);
    size_t end = std::min(BoardMembers.size(), start + count);
    size_t first = std::min(start, end);
    ComAPI::WriteShort(asCodes, int32_t(end - first));
    for (size_t i = first; i < end; ++i)
        ComAPI::WriteString(asCodes, BoardMembers[i]);
    base::Data body = quoteList(asCodes.span());
    // The reply names the board and counts all its members.
    auto patchShort = [&body](size_t at, int value) {
        body.mutableBytes()[at] = uint8_t(value);
        body.mutableBytes()[at + 1] = uint8_t(value >> 8);
    };
    patchShort(0, classID);
    patchShort(4, int(BoardMembers.size()));
    return body;
}

} // namespace peers
