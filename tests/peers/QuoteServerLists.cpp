// The class pages of the loopback quote server's list message: which securities a class lists
// and in what order.
#include "QuoteServer.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int IndexClassID = 105;
// Classes from this id on list nothing: a list whose total is 0.
constexpr int FirstEmptyClassID = 3000;
constexpr int Ascending = 1;

} // namespace

// Class 105 lists the indexes, any other class below 3000 every stock. Sort fields: 1 the rise,
// 2 the volume, 3 the amount, 4 the last price, 9 the code; any other field keeps the fixture's
// order. Order 1 is ascending, any other descending; ties keep the fixture's order.
std::vector<Security> QuoteServer::classMembers(int classID, int sortField, int order) const {
    std::vector<Security> listed;
    if (classID >= FirstEmptyClassID)
        return listed;
    int wantedType = classID == IndexClassID ? 0 : 1;
    for (const Security &security : market_.securities())
        if (security.type == wantedType)
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
