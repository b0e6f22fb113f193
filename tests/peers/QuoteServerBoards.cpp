// What the application shell asks of the loopback quote server: the boards of class 105 for the
// board banner, the Hang Seng index beside the two mainland indexes of the index banner, and the Dow
// Jones index of the home page's index column.
#include "QuoteServer.h"

#include "base/Str.h"

namespace peers {

namespace {

const Security HangSengIndex{"HK", "HSI", "恒生指数", "HSZS", 0, 2, 2251234};
const Security DowJonesIndex{"IX", "DJIA", "道琼斯", "DQS", 0, 2, 1302545};

} // namespace

std::vector<Security> QuoteServer::boards() {
    return MarketFixture::boards();
}

// The bank board's list id is its code number; the others' follow ten apart, clear of the market
// list classes (104 currencies, 105 boards, 106 code lists).
int QuoteServer::boardListID(const Security &board) {
    return BoardID + (int(base::str::toInt(board.code)) - BoardID) * 10;
}

const Security *QuoteServer::shellSecurity(std::string_view code) {
    if (code == HangSengIndex.fullCode())
        return &HangSengIndex;
    if (code == DowJonesIndex.fullCode())
        return &DowJonesIndex;
    static const std::vector<Security> Boards = MarketFixture::boards();
    for (const Security &board : Boards)
        if (board.fullCode() == code)
            return &board;
    return nullptr;
}

} // namespace peers
