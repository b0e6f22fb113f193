// The list pages of the loopback quote server: which securities a class lists and in what order,
// and the made-up open-fund and product pages.
#include "QuoteServer.h"

#include "QuoteRow.h"
#include "base/Str.h"

#include <algorithm>
#include <array>
#include <optional>

namespace peers {

namespace {

constexpr int AShareClassID = 0;
constexpr int ShanghaiAClassID = 11;
constexpr int ShanghaiBClassID = 12;
constexpr int BondClassID = 13;
constexpr int ShenzhenBondClassID = 23;
constexpr int TreasuryBondClassID = 1301;
constexpr int FundClassID = 14;
constexpr int ShenzhenAClassID = 21;
constexpr int ShenzhenBClassID = 22;
constexpr int GrowthClassID = 25;
constexpr int CurrencyClassID = 104;
// The regional forex classes: renminbi rates, Asian, European and American currencies.
constexpr int RenminbiClassID = 1041, AsiaClassID = 1042, EuropeClassID = 1043, AmericaClassID = 1044;
constexpr int BoardClassID = 105;
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

// Whether a currency pair belongs to a regional forex class.
bool pairedWith(const Security &pair, int classID) {
    auto has = [&pair](std::string_view currency) { return pair.code.find(currency) != std::string::npos; };
    switch (classID) {
    case RenminbiClassID:
        return pair.code.ends_with("CNY");
    case AsiaClassID:
        return has("HKD") || has("JPY");
    case EuropeClassID:
        return has("EUR");
    default:
        return has("USD");
    }
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
    case ShenzhenBondClassID:
        return security.type == MarketFixture::BondType && security.market == "SZ";
    case TreasuryBondClassID:
        return security.type == MarketFixture::BondType && startsWith(security, "SH", {"010"});
    case FundClassID:
        return security.type == MarketFixture::FundType;
    case CurrencyClassID:
        return security.type == MarketFixture::CurrencyType;
    case RenminbiClassID:
    case AsiaClassID:
    case EuropeClassID:
    case AmericaClassID:
        return security.type == MarketFixture::CurrencyType && pairedWith(security, classID);
    case QuoteServer::IndexFuturesClassID:
        return security.type == MarketFixture::FutureType;
    default:
        return std::nullopt;
    }
}

} // namespace

// Class 105 lists the boards, a board's list id its members (every Shanghai or Shenzhen stock
// whose boards (2969) name it, as its industry or its theme board), the market classes their own
// securities and any other class below 3000 every stock. The members never change, so they are
// found once per class.
const std::vector<const Security *> &QuoteServer::classMembers(int classID) const {
    auto cached = members_.find(classID);
    if (cached != members_.end())
        return cached->second;
    std::vector<const Security *> &listed = members_[classID];
    if (classID >= FirstEmptyClassID && classID != QuoteServer::IndexFuturesClassID)
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
        bool member =
            board != boardList.end()
                ? security.type == MarketFixture::StockType &&
                      (security.market == "SH" || security.market == "SZ") &&
                      MarketSeries::inBoard(security, size_t(board - boardList.begin()), boardList.size())
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
                value = fundFlowSortKey(market_, *security, sortField);
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

constexpr int MoneyFundType = MarketFixture::MoneyFundType;
constexpr int ProductsPerClass = 12;
constexpr int CodeSortID = 0;

} // namespace

namespace {

// The values of fund `i` of a type as its page row carries them, from its net value.
std::vector<int32_t> fundValues(int fundType, int i, int32_t date) {
    int32_t value = MarketFixture::fundNetValue(*MarketFixture::fund(fundType, i));
    if (fundType == MoneyFundType)
        return {date, value, 300 + i, date - 1, value - 7, 298 + i};
    // Every third fund's net value falls on the day, every fourth lost over the year. Rates are
    // percentages × 10,000.
    bool falls = i % 3 == 2;
    int32_t prior = falls ? value + 40 : value - 40;
    int32_t dayRate = int32_t(int64_t(value - prior) * 1000000 / prior);
    int32_t yearRate = i % 4 == 3 ? -(20000 + 700 * i) : 100000 - 1700 * i;
    return {date,         value,   value + 2000,    date - 1,        prior,
            prior + 2000, dayRate, 12000 - 300 * i, 30000 - 500 * i, yearRate};
}

// Which value a fund sort id ranks by: open-end funds 1 the net value, 2 the accumulated value, 3 to 6
// the day, week, month and year growth; money funds 1 the income, 2 the 7-day yield. -1: none.
int fundSortValue(int fundType, int sortID) {
    if (fundType == MoneyFundType)
        return sortID == 1 || sortID == 2 ? sortID : -1;
    constexpr int OpenFundValues[] = {-1, 1, 2, 6, 7, 8, 9};
    return sortID >= 0 && sortID < int(std::size(OpenFundValues)) ? OpenFundValues[sortID] : -1;
}

} // namespace

// Request: Short company, Short start, Short count, Byte sort, Byte order, Byte fund type. Reply:
// Byte fund type, Short total, Short n and n funds: code, name and the type's values, the market's
// funds of the type (none for a type it has none of), ranked by the sort id (order 1 descending, any other
// ascending; an unknown id keeps the funds' own order); some open-end funds fall on the day and some lost
// over the year.
base::Data QuoteServer::openFundList(ByteView request) const {
    uint32_t pos = 0;
    ComAPI::ReadShort(request, pos);
    int start = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int count = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int sortID = ComAPI::ReadByte(request, pos);
    bool descending = ComAPI::ReadByte(request, pos) == 1;
    int fundType = ComAPI::ReadByte(request, pos);
    int32_t date = market_.quotesDate();
    std::vector<std::pair<int, std::vector<int32_t>>> funds;
    for (int i = 0; MarketFixture::fund(fundType, i); ++i)
        funds.emplace_back(i, fundValues(fundType, i, date));
    if (int ranked = fundSortValue(fundType, sortID); ranked >= 0)
        std::stable_sort(funds.begin(), funds.end(), [ranked, descending](const auto &a, const auto &b) {
            return descending ? b.second[size_t(ranked)] < a.second[size_t(ranked)]
                              : a.second[size_t(ranked)] < b.second[size_t(ranked)];
        });
    int total = int(funds.size());
    int end = std::min(total, start + count);
    base::Data body;
    ComAPI::WriteByte(body, fundType);
    ComAPI::WriteShort(body, total);
    ComAPI::WriteShort(body, std::max(end - start, 0));
    for (int row = start; row < end; ++row) {
        const auto &[i, values] = funds[size_t(row)];
        const Security &fund = *MarketFixture::fund(fundType, i);
        ComAPI::WriteString(body, fund.fullCode());
        ComAPI::WriteString(body, fund.name);
        for (int32_t value : values)
            ComAPI::WriteInt(body, value);
    }
    return body;
}

namespace {

// A product row as the page carries it: code, name, decimals, lot unit and the eleven values
// (latest, previous close, volume, high, low, open, amount, settlement, previous settlement, open
// interest, previous open interest).
struct ProductRow {
    std::string code, name;
    int decimal = 2;
    std::array<int32_t, 11> values{};
    int32_t last() const { return values[0]; }
    int32_t ysettlement() const { return values[8]; }
};

// The value a product page sorts by for a product sort id: 0 the code, 1 the rise (also as the low
// byte of the rise field 526), 2 the latest, 3 the volume, 4 the open interest, 5 its daily increase;
// nothing for any other id, which keeps the rows as they are. An untraded row rises by nothing.
std::optional<double> productKey(const ProductRow &row, int sortID) {
    constexpr int RiseFieldLowByte = 526 & 0xFF;
    switch (sortID) {
    case 1:
    case RiseFieldLowByte:
        return row.last() > 0 && row.ysettlement() > 0
                   ? double(row.last() - row.ysettlement()) / row.ysettlement()
                   : 0.0;
    case 2:
        return row.last();
    case 3:
        return row.values[2];
    case 4:
        return row.values[9];
    case 5:
        return row.values[9] - row.values[10];
    default:
        return std::nullopt;
    }
}

// The rows of a product class: for the index-futures class the market's "SF" futures as they trade,
// for any other class products made up from the class and the row, the last of them untraded.
std::vector<ProductRow> productRows(const MarketFixture &market, int classID) {
    std::vector<ProductRow> rows;
    if (classID == QuoteServer::IndexFuturesClassID) {
        for (const Security &future : market.market("SF")) {
            QuoteRow row = QuoteRow::of(market, future, false);
            const Quote &q = row.quote;
            rows.push_back({future.fullCode(),
                            future.name,
                            future.decimal,
                            {q.last, future.closePrice, q.volume, q.high, q.low, q.open, q.amount,
                             row.settlement, row.ysettlement, row.position, row.yposition}});
        }
        return rows;
    }
    for (int i = 0; i < ProductsPerClass; ++i) {
        int32_t close = 200000 + 1000 * i + classID;
        ProductRow row{base::str::format("SC%04d%02d", classID % 10000, i),
                       base::str::format("商品%d-%02d", classID, i),
                       2,
                       {close + 500 - 130 * i, close, 1200 + i, close + 900, close - 300 - 130 * i,
                        close - 100, 3400 + i, close, close - 50, 50000 + 37 * i, 49000 + 61 * i}};
        if (i == ProductsPerClass - 1)
            row.values = {0, close, 0, 0, 0, 0, 0, 0, close - 50, 49000, 49000};
        rows.push_back(row);
    }
    return rows;
}

} // namespace

// Request: Short class, Byte order, Byte sort, Short start, Short count. Reply: Short total, Short n
// and n products of the class in the order asked (order 1 ascending, any other descending; ties
// and unknown sort ids keep the class's own order).
base::Data QuoteServer::productList(ByteView request) const {
    uint32_t pos = 0;
    int classID = uint16_t(ComAPI::ReadShort(request, pos));
    int order = ComAPI::ReadByte(request, pos);
    int sortID = ComAPI::ReadByte(request, pos);
    int start = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int count = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    std::vector<ProductRow> rows = productRows(market_, classID);
    bool ascending = order == Ascending;
    if (sortID == CodeSortID)
        std::stable_sort(rows.begin(), rows.end(), [ascending](const ProductRow &a, const ProductRow &b) {
            return ascending ? a.code < b.code : b.code < a.code;
        });
    else if (productKey(ProductRow{}, sortID))
        std::stable_sort(rows.begin(), rows.end(),
                         [ascending, sortID](const ProductRow &a, const ProductRow &b) {
                             double ka = *productKey(a, sortID), kb = *productKey(b, sortID);
                             return ascending ? ka < kb : kb < ka;
                         });
    int total = int(rows.size());
    int end = std::min(total, start + count);
    base::Data body;
    ComAPI::WriteShort(body, total);
    ComAPI::WriteShort(body, std::max(end - start, 0));
    for (int i = start; i < end; ++i) {
        const ProductRow &row = rows[size_t(i)];
        ComAPI::WriteString(body, row.code);
        ComAPI::WriteString(body, row.name);
        ComAPI::WriteByte(body, row.decimal);
        ComAPI::WriteShort(body, 1);
        for (int32_t value : row.values)
            ComAPI::WriteInt(body, value);
    }
    return body;
}

} // namespace peers
