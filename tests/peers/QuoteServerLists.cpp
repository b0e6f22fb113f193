// The list pages of the loopback quote server: which securities a class lists and in what order,
// and the made-up open-fund and product pages.
#include "QuoteServer.h"

#include "base/Str.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int BoardClassID = 105;
// Classes from this id on list nothing: a list whose total is 0.
constexpr int FirstEmptyClassID = 3000;
constexpr int Ascending = 1;

} // namespace

// Class 105 lists the boards, any other class below 3000 every stock. Sort fields: 1 the rise,
// 2 the volume, 3 the amount, 4 the last price, 9 the code; any other field keeps the fixture's
// order. Order 1 is ascending, any other descending; ties keep the fixture's order.
std::vector<Security> QuoteServer::classMembers(int classID, int sortField, int order) const {
    std::vector<Security> listed;
    if (classID >= FirstEmptyClassID)
        return listed;
    if (classID == BoardClassID)
        listed = boards();
    else
        for (const Security &security : market_.securities())
            if (security.type == 1)
                listed.push_back(security);
    auto key = [&](const Security &security) -> double {
        Quote quote = market_.quote(security);
        switch (sortField) {
        case 1:
            return security.closePrice > 0 ? double(quote.last) / security.closePrice : 0;
        case 2:
            return quote.volume;
        case 3:
            return quote.amount;
        case 4:
            return quote.last;
        default:
            return 0;
        }
    };
    std::stable_sort(listed.begin(), listed.end(), [&](const Security &a, const Security &b) {
        if (sortField == 9)
            return order == Ascending ? a.code < b.code : b.code < a.code;
        return order == Ascending ? key(a) < key(b) : key(b) < key(a);
    });
    return listed;
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
// and n products of the class, made up from the class and the row.
base::Data QuoteServer::productList(ByteView request) const {
    uint32_t pos = 0;
    int classID = uint16_t(ComAPI::ReadShort(request, pos));
    ComAPI::ReadByte(request, pos);
    ComAPI::ReadByte(request, pos);
    int start = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int count = std::max<int>(ComAPI::ReadShort(request, pos), 0);
    int end = std::min(ProductsPerClass, start + count);
    base::Data body;
    ComAPI::WriteShort(body, ProductsPerClass);
    ComAPI::WriteShort(body, std::max(end - start, 0));
    for (int i = start; i < end; ++i) {
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
