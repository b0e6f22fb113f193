// The list pages of the loopback quote server: which securities a class lists and in what order,
// and the made-up open-fund and product pages.
#include "QuoteServer.h"

#include "QuoteRow.h"
#include "base/Str.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int AShareClassID = 0;
constexpr int ShanghaiAClassID = 11;
constexpr int ShanghaiBClassID = 12;
constexpr int BondClassID = 13;
constexpr int FundClassID = 14;
constexpr int ShenzhenAClassID = 21;
constexpr int ShenzhenBClassID = 22;
constexpr int GrowthClassID = 25;
constexpr int CurrencyClassID = 104;
constexpr int BoardClassID = 105;
constexpr int FutureClassID = 0xfffd;
// Classes from this id on list nothing: a list whose total is 0.
constexpr int FirstEmptyClassID = 3000;
constexpr int Ascending = 1;
constexpr int CodeSortField = 9;

bool startsWith(const Security &security, std::string_view market,
                std::initializer_list<std::string_view> heads) {
    if (security.market != market)
        return false;
    return std::any_of(heads.begin(), heads.end(),
                       [&](std::string_view head) { return security.code.starts_with(head); });
}

// Whether a market list class lists a security; nothing for a class that is not a market list.
std::optional<bool> listedIn(int classID, const Security &security) {
    bool stock = security.type == MarketFixture::StockType;
    switch (classID) {
    case AShareClassID:
        return stock && (startsWith(security, "SH", {"6"}) || startsWith(security, "SZ", {"00", "30"}));
    case ShanghaiAClassID:
        return stock && startsWith(security, "SH", {"6"});
    case ShanghaiBClassID:
        return stock && startsWith(security, "SH", {"9"});
    case ShenzhenAClassID:
        return stock && startsWith(security, "SZ", {"00"});
    case ShenzhenBClassID:
        return stock && startsWith(security, "SZ", {"20"});
    case GrowthClassID:
        return stock && startsWith(security, "SZ", {"30"});
    case BondClassID:
        return security.type == MarketFixture::BondType;
    case FundClassID:
        return security.type == MarketFixture::FundType;
    case CurrencyClassID:
        return security.type == MarketFixture::CurrencyType;
    case FutureClassID:
        return security.type == MarketFixture::FutureType;
    default:
        return std::nullopt;
    }
}

} // namespace

// Class 105 lists the boards, a board's list id its members, the market classes their own
// securities and any other class below 3000 every stock. The members never change, so they are
// found once per class.
const std::vector<const Security *> &QuoteServer::classMembers(int classID) const {
    auto cached = members_.find(classID);
    if (cached != members_.end())
        return cached->second;
    std::vector<const Security *> &listed = members_[classID];
    if (classID >= FirstEmptyClassID && classID != FutureClassID)
        return listed;
    std::vector<Security> boardList = boards();
    auto board = std::find_if(boardList.begin(), boardList.end(),
                              [classID](const Security &b) { return boardListID(b) == classID; });
    if (classID == BoardClassID) {
        for (const Security &b : boardList)
            listed.push_back(findAnywhere(b.fullCode()));
        return listed;
    }
    for (const Security &security : market_.securities()) {
        bool member = board != boardList.end()
                          ? security.type == MarketFixture::StockType &&
                                (security.market == "SH" || security.market == "SZ") &&
                                MarketSeries::industryBoard(security, boardList.size()) ==
                                    size_t(board - boardList.begin())
                          : listedIn(classID, security).value_or(security.type == MarketFixture::StockType);
        if (member)
            listed.push_back(&security);
    }
    return listed;
}

// Sort fields are the display field ids (`QuoteRow::sortKey`), 9 the code; any other field keeps the
// fixture's order. Order 1 is ascending, any other descending; ties keep the fixture's order. Each
// member's key is taken once per ranking, and only the front of the ranking that pages have asked
// for is put in order: a page asked further down at least doubles it, so that paging through the
// whole class costs about one sort. A ranking is kept until the market moves.
const QuoteServer::Ranking &QuoteServer::ranking(int classID, int sortField, int order, size_t upTo) const {
    auto key = std::make_tuple(classID, sortField, order == Ascending);
    auto cached = rankings_.find(key);
    Ranking &ranked = cached != rankings_.end() ? cached->second : rankings_[key];
    if (cached == rankings_.end()) {
        const std::vector<const Security *> &members = classMembers(classID);
        ranked.rows.reserve(members.size());
        for (const Security *security : members) {
            std::optional<double> value =
                sortField == CodeSortField
                    ? 0.0
                    : QuoteRow::quoteKey(*security, market_.quote(*security), sortField);
            if (!value)
                value =
                    QuoteRow::of(market_, *security, QuoteRow::sortsByHistory(sortField)).sortKey(sortField);
            if (!value) {
                // Not a field to sort by: the members stay as they are.
                ranked.rows.clear();
                for (const Security *member : members)
                    ranked.rows.push_back({0.0, member});
                ranked.sorted = members.size();
                return ranked;
            }
            ranked.rows.push_back({*value, security});
        }
    }
    size_t target = std::min(ranked.rows.size(), std::max(upTo, 2 * ranked.sorted));
    if (target <= ranked.sorted)
        return ranked;
    bool ascending = order == Ascending, byCode = sortField == CodeSortField;
    std::partial_sort(ranked.rows.begin() + ptrdiff_t(ranked.sorted), ranked.rows.begin() + ptrdiff_t(target),
                      ranked.rows.end(), [ascending, byCode](const Ranked &a, const Ranked &b) {
                          if (byCode && a.security->code != b.security->code)
                              return ascending ? a.security->code < b.security->code
                                               : b.security->code < a.security->code;
                          if (a.key != b.key)
                              return ascending ? a.key < b.key : b.key < a.key;
                          return a.security < b.security;
                      });
    ranked.sorted = target;
    return ranked;
}

} // namespace peers

namespace peers {

namespace {

constexpr int MoneyFundType = 5;
constexpr int FundsPerType = 45;
constexpr int ProductsPerClass = 12;

} // namespace

// Request: Short company, Short start, Short count, Byte sort, Byte order, Byte fund type. Reply:
// Byte fund type, Short total, Short n and n funds: code, name and the type's values, made up from
// the type and the row.
base::Data QuoteServer::openFundList(ByteView request) const {
    uint32_t pos = 0;
    ComAPI::ReadShort(request, pos);
    int start = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int count = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    ComAPI::ReadByte(request, pos);
    ComAPI::ReadByte(request, pos);
    int fundType = ComAPI::ReadByte(request, pos);
    int end = std::min(FundsPerType, start + count);
    base::Data body;
    ComAPI::WriteByte(body, fundType);
    ComAPI::WriteShort(body, FundsPerType);
    ComAPI::WriteShort(body, std::max(end - start, 0));
    int32_t date = market_.quotesDate();
    for (int i = start; i < end; ++i) {
        ComAPI::WriteString(body, base::str::format("OF%d%05d", fundType, i));
        ComAPI::WriteString(body, base::str::format("基金%d-%02d", fundType, i));
        int32_t value = 10000 + 137 * i + 11 * fundType;
        if (fundType == MoneyFundType) {
            for (int32_t field : {date, value, 300 + i, date - 1, value - 7, 298 + i})
                ComAPI::WriteInt(body, field);
        } else {
            for (int32_t field : {date, value, value + 2000, date - 1, value - 40, value + 1960, 40 - i,
                                  120 - 3 * i, 300 - 5 * i, 1000 - 17 * i})
                ComAPI::WriteInt(body, field);
        }
    }
    return body;
}

// Request: Short class, Byte order, Byte sort, Short start, Short count. Reply: Short total, Short n
// and n products of the class: for the index-futures class the market's "SF" futures as they trade,
// for any other class products made up from the class and the row.
base::Data QuoteServer::productList(ByteView request) const {
    uint32_t pos = 0;
    int classID = uint16_t(ComAPI::ReadShort(request, pos));
    ComAPI::ReadByte(request, pos);
    ComAPI::ReadByte(request, pos);
    int start = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int count = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    std::vector<Security> futures =
        classID == IndexFuturesClassID ? market_.market("SF") : std::vector<Security>{};
    int total = classID == IndexFuturesClassID ? int(futures.size()) : ProductsPerClass;
    int end = std::min(total, start + count);
    base::Data body;
    ComAPI::WriteShort(body, total);
    ComAPI::WriteShort(body, std::max(end - start, 0));
    for (int i = start; i < end; ++i) {
        if (classID == IndexFuturesClassID) {
            QuoteRow row = QuoteRow::of(market_, futures[size_t(i)], false);
            ComAPI::WriteString(body, row.security.fullCode());
            ComAPI::WriteString(body, row.security.name);
            ComAPI::WriteByte(body, row.security.decimal);
            ComAPI::WriteShort(body, 1);
            const Quote &q = row.quote;
            for (int32_t field : {q.last, row.security.closePrice, q.volume, q.high, q.low, q.open, q.amount,
                                  row.settlement, row.ysettlement, row.position, row.yposition})
                ComAPI::WriteInt(body, field);
            continue;
        }
        ComAPI::WriteString(body, base::str::format("SC%04d%02d", classID % 10000, i));
        ComAPI::WriteString(body, base::str::format("商品%d-%02d", classID, i));
        ComAPI::WriteByte(body, 2);
        ComAPI::WriteShort(body, 1);
        int32_t close = 200000 + 1000 * i + classID;
        for (int32_t field : {close + 500, close, 1200 + i, close + 900, close - 300, close - 100, 3400 + i,
                              close, close - 50, 50000 + i, 49000 + i})
            ComAPI::WriteInt(body, field);
    }
    return body;
}

} // namespace peers
