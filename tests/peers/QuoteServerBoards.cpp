// What the application shell asks of the loopback quote server: the boards of class 105 for the
// board banner and the Hang Seng index beside the two mainland indexes of the index banner.
#include "QuoteServer.h"

#include "base/Str.h"

namespace peers {

namespace {

// The boards of class 105; the first is the board whose members the server lists (BoardID).
const Security Boards[] = {
    {"BI", "000101", "银行板块", "YHBK", 0, 2, 100000}, {"BI", "000102", "证券板块", "ZQBK", 0, 2, 84210},
    {"BI", "000103", "保险板块", "BXBK", 0, 2, 92350},  {"BI", "000104", "白酒板块", "BJBK", 0, 2, 153200},
    {"BI", "000105", "汽车板块", "QCBK", 0, 2, 67480},  {"BI", "000106", "医药板块", "YYBK", 0, 2, 118900},
    {"BI", "000107", "地产板块", "DCBK", 0, 2, 56730},  {"BI", "000108", "钢铁板块", "GTBK", 0, 2, 43120},
};

const Security HangSengIndex{"HK", "HSI", "恒生指数", "HSZS", 0, 2, 2251234};

} // namespace

std::vector<Security> QuoteServer::boards() {
    return {std::begin(Boards), std::end(Boards)};
}

int QuoteServer::boardListID(const Security &board) {
    return int(base::str::toInt(board.code));
}

const Security *QuoteServer::shellSecurity(std::string_view code) {
    if (code == HangSengIndex.fullCode())
        return &HangSengIndex;
    for (const Security &board : Boards)
        if (board.fullCode() == code)
            return &board;
    return nullptr;
}

} // namespace peers
